// canvas.h - a raster canvas the shapes draw on.
#ifndef GEO_CANVAS_H
#define GEO_CANVAS_H

#include "shape.h"

namespace geo {

/// The size of a canvas in pixels.
typedef struct tagSize
{
    int width;    ///< pixels across
    int height;   ///< pixels down
} Size, *PSize;

/// A canvas of pixels that shapes draw on.
///
/// The canvas keeps one colour per pixel. Drawing outside the canvas is
/// clipped silently.
class Canvas
{
public:
    /// Creates a canvas of the given size, cleared to Transparent.
    explicit Canvas(const Size& size);
    ~Canvas();

    /// Draws one shape in its own style.
    void Draw(const Shape& shape);

    /// Draws one shape in the given colour instead of its own.
    void Draw(const Shape& shape, Colour colour);

    /// Draws a list of shapes in order, the later ones on top.
    void Draw(const Shape* const* shapes, int count);

    /// Sets one pixel; pixels outside the canvas are ignored.
    void Plot(int x, int y, Colour colour);

    /// Draws a straight line from one point to another.
    void Line(const IntPoint& from, const IntPoint& to, Colour colour);

    void Clear();

    /// Draws a shape: canvas << shape is the same as canvas.Draw(shape).
    Canvas& operator<<(const Shape& shape);

    /// Returns the colour of a pixel, or Transparent outside the canvas.
    Colour operator()(int x, int y) const;

    /// Returns the size of the canvas.
    Size GetSize() const;

private:
    Size size;          // the canvas size
    Colour* pixels;     // width times height colours, row by row
};

}  // namespace geo

#endif
