#pragma once

/// The distance between two points.
double distance(double x1, double y1, double x2, double y2);
