#include "geo_util.h"

/// A circle around a centre point.
class Circle {
 public:
  double radius;
};
