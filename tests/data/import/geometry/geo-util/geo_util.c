#include "geo_util.h"

double distance(double x1, double y1, double x2, double y2) { return (x2 - x1) + (y2 - y1); }
