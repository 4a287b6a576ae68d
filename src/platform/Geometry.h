#pragma once

#include <algorithm>

namespace nimbrel {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// An axis-aligned rectangle. Which corner the origin names depends on the space it lives in:
// accessibility rectangles have their origin top-left, screen and panel frames bottom-left.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    Rect() = default;
    Rect(double x, double y, double width, double height)
        : x(x), y(y), width(width), height(height) {}
    Rect(Point origin, Size size)
        : x(origin.x), y(origin.y), width(size.width), height(size.height) {}

    double minX() const { return x; }
    double minY() const { return y; }
    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    double midX() const { return x + width * 0.5; }
    double midY() const { return y + height * 0.5; }
    Point origin() const { return {x, y}; }
    Size size() const { return {width, height}; }
    bool isEmpty() const { return width <= 0 || height <= 0; }

    // In accessibility space (y down): half-open, the top and left edges inside, the far edges
    // outside.
    bool contains(Point p) const {
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    // The same rule seen in screen space (y up), where the top edge is the far one in y: inside,
    // and the bottom edge outside. A point and a rectangle flipped together keep their answer, so
    // the pointer on the top row of a screen belongs to that screen in both spaces.
    bool containsInScreenSpace(Point p) const {
        return p.x >= minX() && p.x < maxX() && p.y > minY() && p.y <= maxY();
    }

    // The overlap of two rectangles; an empty (null) rectangle when they do not overlap.
    Rect intersection(const Rect& other) const {
        double left = std::max(minX(), other.minX());
        double top = std::max(minY(), other.minY());
        double right = std::min(maxX(), other.maxX());
        double bottom = std::min(maxY(), other.maxY());
        if (right <= left || bottom <= top) {
            return {};
        }
        return {left, top, right - left, bottom - top};
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

// Between accessibility space (origin top-left of the primary screen, y down) and screen space
// (origin bottom-left of the primary screen, y up); the same flip serves both directions.
inline Rect flipped(const Rect& r, double primaryScreenHeight) {
    return {r.x, primaryScreenHeight - r.maxY(), r.width, r.height};
}
inline Point flipped(Point p, double primaryScreenHeight) {
    return {p.x, primaryScreenHeight - p.y};
}

}  // namespace nimbrel
