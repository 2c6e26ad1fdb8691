// shape.cpp - the implementation of the shapes.
#include "shape.h"

Shape::Shape(Colour colour) : colour(colour)
{
    position.x = 0;
    position.y = 0;
}

Shape::~Shape()
{
}

void Shape::MoveBy(const Point& offset)
{
    position = Add(position, offset);
}

void Shape::DrawOutline(int lineWidth) const
{
    if (lineWidth <= 0)
        return;
}

Circle::Circle(double radius) : radius(radius < 0 ? 0 : radius)
{
}

double Circle::Area() const
{
    return 3.14159265358979 * radius * radius;
}

Rectangle::Rectangle(double width, double height) : width(width), height(height)
{
}

double Rectangle::Area() const
{
    return width * height;
}

bool Rectangle::IsSquare() const
{
    return width == height;
}

double TotalArea(const Shape* const* shapes, int count)
{
    double total = 0;
    for (int i = 0; i < count; i++)
    {
        if (shapes[i] != 0)
            total += shapes[i]->Area();
    }
    return total;
}

Point Add(const Point& a, const Point& b)
{
    Point sum;
    sum.x = a.x + b.x;
    sum.y = a.y + b.y;
    return sum;
}
