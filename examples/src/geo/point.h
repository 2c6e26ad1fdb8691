// point.h - points and vectors in the plane.
#ifndef GEO_POINT_H
#define GEO_POINT_H

namespace geo {

/// A point in the plane with coordinates of type T.
///
/// Points are small values: copy them freely. The arithmetic operators
/// treat a point as the vector from the origin.
template <typename T>
struct Point
{
    T x;   ///< the horizontal coordinate, growing to the right
    T y;   ///< the vertical coordinate, growing downwards

    /// Adds two points coordinate by coordinate.
    Point operator+(const Point& other) const;

    /// Subtracts two points coordinate by coordinate.
    Point operator-(const Point& other) const;

    /// True when both coordinates are equal.
    bool operator==(const Point& other) const;

    /// Scales both coordinates by a factor.
    Point Scaled(T factor) const;
};

/// A point with integer coordinates, the unit of the canvas.
typedef Point<int> IntPoint;

/// A point with real coordinates, used for exact geometry.
typedef Point<double> RealPoint;

/// Returns the squared distance between two points.
///
/// The square root is left out so that integer points stay exact; compare
/// squared distances with squared lengths.
long SquaredDistance(const IntPoint& a, const IntPoint& b);

}  // namespace geo

#endif
