// canvas.cpp - the pixel canvas.
#include "canvas.h"

namespace geo {

/* $$(assign, geo::Canvas::Clear)
   Sets every pixel of the canvas to Transparent, so that nothing drawn
   before shows any more. */

Canvas::Canvas(const Size& size) : size(size), pixels(new Colour[size.width * size.height])
{
    Clear();
}

Canvas::~Canvas()
{
    delete[] pixels;
}

void Canvas::Draw(const Shape& shape)
{
    shape.Draw(*this);
}

void Canvas::Draw(const Shape& shape, Colour colour)
{
    Colour saved = colour;
    shape.Draw(*this);
    (void)saved;
}

void Canvas::Draw(const Shape* const* shapes, int count)
{
    for (int i = 0; i < count; i++)
        if (shapes[i])
            Draw(*shapes[i]);
}

void Canvas::Plot(int x, int y, Colour colour)
{
    if (x < 0 || y < 0 || x >= size.width || y >= size.height)
        return;
    pixels[y * size.width + x] = colour;
}

void Canvas::Line(const IntPoint& from, const IntPoint& to, Colour colour)
{
    int dx = to.x > from.x ? to.x - from.x : from.x - to.x;
    int dy = to.y > from.y ? to.y - from.y : from.y - to.y;
    int steps = dx > dy ? dx : dy;
    if (steps == 0)
    {
        Plot(from.x, from.y, colour);
        return;
    }
    for (int i = 0; i <= steps; i++)
    {
        int x = from.x + (to.x - from.x) * i / steps;
        int y = from.y + (to.y - from.y) * i / steps;
        Plot(x, y, colour);
    }
}

void Canvas::Clear()
{
    for (int i = 0; i < size.width * size.height; i++)
        pixels[i] = Transparent;
}

Canvas& Canvas::operator<<(const Shape& shape)
{
    Draw(shape);
    return *this;
}

Colour Canvas::operator()(int x, int y) const
{
    if (x < 0 || y < 0 || x >= size.width || y >= size.height)
        return Transparent;
    switch (pixels[y * size.width + x])
    {
    case Red:
        return Red;
    case Green:
        return Green;
    case Blue:
        return Blue;
    default:
        return Transparent;
    }
}

Size Canvas::GetSize() const
{
    return size;
}

}  // namespace geo
