// shape.h - the shapes the library can measure and draw.
#ifndef GEO_SHAPE_H
#define GEO_SHAPE_H

#include "point.h"

namespace geo {

/* The colours a shape can be drawn in. */
enum Colour
{
    Red = 1,   // pure red
    Green,     // pure green
    Blue,      // pure blue
    Transparent = 255  // not drawn at all
};

class Canvas;

/**
 * A shape that can be measured and drawn.
 *
 * Every concrete shape derives from this class and implements Area and
 * Draw. A shape has a position, the reference point every other
 * coordinate is relative to, and a style.
 *
 * Example:
 *
 *     geo::Circle wheel(2.5);
 *     wheel.MoveBy(IntPoint{10, 0});
 *     double a = wheel.Area();
 */
class Shape
{
public:
    /// How the inside of a shape is filled.
    enum Fill
    {
        Hollow,    ///< only the outline is drawn
        Solid,     ///< filled with the shape's colour
        Hatched    ///< filled with diagonal lines
    };

    /// The drawing style of a shape: its colour, fill and line width.
    class Style
    {
    public:
        /// Creates a style; the line width is clamped to at least 1.
        Style(Colour colour = Red, Fill fill = Hollow, int lineWidth = 1);

        /// Returns the colour.
        Colour GetColour() const;

        /// Returns the line width in canvas units.
        int LineWidth() const;

    private:
        Colour colour;   // the colour lines and fills use
        Fill fill;       // how the inside is filled
        int width;       // the line width, at least 1
    };

    /// Creates a shape at the origin with the given style.
    explicit Shape(const Style& style = Style());

    /// Destroys the shape.
    virtual ~Shape();

    /// Returns the area of the shape in square canvas units.
    virtual double Area() const = 0;

    /// Draws the shape on a canvas. TODO: support clipping rectangles.
    virtual void Draw(Canvas& canvas) const = 0;

    /// Moves the shape by the given offset.
    void MoveBy(const IntPoint& offset);

    /// Moves the shape to an absolute position.
    void MoveTo(int x, int y);

    /// Returns where the shape is.
    IntPoint Position() const { return position; }

    /// Returns the style the shape is drawn with.
    const Style& GetStyle() const;

protected:
    /// Draws the outline; called by the Draw of derived classes.
    void DrawOutline(Canvas& canvas, const IntPoint* corners, int count) const;

private:
    IntPoint position;   // the reference point of the shape
    Style style;         // how the shape is drawn
};

/// A circle given by its radius.
class Circle : public Shape
{
public:
    /// Creates a circle; a negative radius is taken as 0.
    explicit Circle(double radius, const Style& style = Style());

    /// The area, pi times the square of the radius.
    double Area() const;

    /// Draws the circle as a polygon of 64 corners.
    void Draw(Canvas& canvas) const;

    /// Returns the radius.
    double Radius() const;

private:
    double radius;   // never negative
};

/// A rectangle with sides parallel to the axes.
class Rectangle : public Shape
{
public:
    /// Creates a rectangle of the given width and height.
    Rectangle(double width, double height);

    double Area() const;
    void Draw(Canvas& canvas) const;

    /// Returns true when the rectangle is a square.
    bool IsSquare() const;

protected:
    double width;    // the horizontal extent
    double height;   // the vertical extent
};

/// A rectangle whose sides are equal. Note: a square never changes into a
/// rectangle, so Resize keeps both sides equal.
class Square final : public Rectangle
{
public:
    /// Creates a square with the given side.
    explicit Square(double side);

    /// Sets both sides to the given length.
    void Resize(double side);
};

/// Returns the total area of the first count shapes of a list; null
/// entries are skipped.
double TotalArea(const Shape* const* shapes, int count);

}  // namespace geo

#endif
