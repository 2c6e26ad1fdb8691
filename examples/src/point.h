// point.h - a point in the plane.
#ifndef POINT_H
#define POINT_H

// A point with integer coordinates.
struct Point
{
    int x;   // the horizontal coordinate
    int y;   // the vertical coordinate
};

// Adds two points coordinate by coordinate.
Point Add(const Point& a, const Point& b);

#endif
