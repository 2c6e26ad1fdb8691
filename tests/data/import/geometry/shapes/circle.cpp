#include "Circle.h"

double area(const Circle& c) { return 3.14159 * c.radius * c.radius; }
