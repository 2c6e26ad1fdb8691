#include "square.h"

double area(const Square& s) { return s.side * s.side; }
