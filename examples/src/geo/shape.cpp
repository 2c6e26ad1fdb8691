// shape.cpp - measuring the shapes.
#include "shape.h"
#include "canvas.h"

namespace geo {

Shape::Style::Style(Colour colour, Fill fill, int lineWidth)
    : colour(colour), fill(fill), width(lineWidth < 1 ? 1 : lineWidth)
{
}

Colour Shape::Style::GetColour() const
{
    return colour;
}

int Shape::Style::LineWidth() const
{
    return width;
}

Shape::Shape(const Style& style) : style(style)
{
    position.x = 0;
    position.y = 0;
}

Shape::~Shape()
{
}

void Shape::MoveBy(const IntPoint& offset)
{
    position = position + offset;
}

void Shape::MoveTo(int x, int y)
{
    position.x = x;
    position.y = y;
}

const Shape::Style& Shape::GetStyle() const
{
    return style;
}

// Joins each corner to the next and the last to the first.
void Shape::DrawOutline(Canvas& canvas, const IntPoint* corners, int count) const
{
    if (count < 2)
        return;
    for (int i = 0; i < count; i++)
    {
        const IntPoint& from = corners[i];
        const IntPoint& to = corners[(i + 1) % count];
        canvas.Line(from + position, to + position, style.GetColour());
    }
}

Circle::Circle(double radius, const Style& style)
    : Shape(style), radius(radius < 0 ? 0 : radius)
{
}

double Circle::Area() const
{
    return 3.14159265358979 * radius * radius;
}

void Circle::Draw(Canvas& canvas) const
{
    IntPoint corners[64];
    for (int i = 0; i < 64; i++)
    {
        double angle = i * 6.28318530717958 / 64;
        double c = 1 - angle * angle / 2 + angle * angle * angle * angle / 24;
        double s = angle - angle * angle * angle / 6;
        corners[i].x = (int)(radius * c);
        corners[i].y = (int)(radius * s);
    }
    DrawOutline(canvas, corners, 64);
}

double Circle::Radius() const
{
    return radius;
}

Rectangle::Rectangle(double width, double height) : width(width), height(height)
{
}

double Rectangle::Area() const
{
    return width * height;
}

void Rectangle::Draw(Canvas& canvas) const
{
    IntPoint corners[4] = {{0, 0}, {(int)width, 0}, {(int)width, (int)height}, {0, (int)height}};
    DrawOutline(canvas, corners, 4);
}

bool Rectangle::IsSquare() const
{
    return width == height;
}

Square::Square(double side) : Rectangle(side, side)
{
}

void Square::Resize(double side)
{
    width = side;
    height = side;
}

double TotalArea(const Shape* const* shapes, int count)
{
    double total = 0;
    for (int i = 0; i < count; i++)
    {
        if (shapes[i] != 0 && shapes[i]->Area() > 0)
            total += shapes[i]->Area();
    }
    return total;
}

long SquaredDistance(const IntPoint& a, const IntPoint& b)
{
    long dx = a.x - b.x;
    long dy = a.y - b.y;
    return dx * dx + dy * dy;
}

}  // namespace geo
