// shape.h - the geometry example documented by Quillet's demo.
#ifndef SHAPE_H
#define SHAPE_H

#include "point.h"

/* The colours a shape can be drawn in. */
enum Colour {
    Red = 1,   // pure red
    Green,     // pure green
    Blue       // pure blue
};

// A shape that can be drawn and measured. Every concrete shape derives
// from this class and implements the area and the drawing.
class Shape
{
public:
    // Creates a shape at the origin with the given colour.
    Shape(Colour colour = Red);
    virtual ~Shape();

    // Returns the area of the shape in square units.
    virtual double Area() const = 0;

    // Moves the shape by the given offset.
    void MoveBy(const Point& offset);

    // Returns where the shape is.
    Point Position() const { return position; }

protected:
    // Draws the outline; called by Render.
    virtual void DrawOutline(int lineWidth) const;

private:
    Point position;   // the reference point of the shape
    Colour colour;    // the colour the shape is drawn in
};

// A circle given by its radius.
class Circle : public Shape
{
public:
    // Creates a circle of the given radius.
    explicit Circle(double radius);

    // The area, pi times the square of the radius.
    double Area() const;

private:
    double radius;    // the radius, never negative
};

// A rectangle with sides parallel to the axes.
class Rectangle : public Shape
{
public:
    // Creates a rectangle of the given width and height.
    Rectangle(double width, double height);

    double Area() const;

    // Returns true when the rectangle is a square.
    bool IsSquare() const;

private:
    double width;
    double height;
};

// Returns the total area of the first count shapes of a list.
double TotalArea(const Shape* const* shapes, int count);

#endif
