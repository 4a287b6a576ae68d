#include "platform/x11/MonitorLayout.h"

#include <algorithm>
#include <optional>

namespace nimbrel::x11 {
namespace {

enum StrutItem {
    kLeft,
    kRight,
    kTop,
    kBottom,
    kLeftStartY,
    kLeftEndY,
    kRightStartY,
    kRightEndY,
    kTopStartX,
    kTopEndX,
    kBottomStartX,
    kBottomEndX,
};

// Whether the span [start, end] of a strut (inclusive, as the property gives it) meets the
// monitor's span [from, to).
bool meets(double start, double end, double from, double to) {
    return start < to && end >= from;
}

}  // namespace

std::optional<Strut> Strut::fromCardinals(const std::vector<std::uint32_t>& items) {
    if (items.size() != 12 && items.size() != 4) {
        return std::nullopt;
    }
    Strut strut;
    for (std::size_t i = 0; i < items.size(); ++i) {
        strut.values[i] = items[i];
    }
    if (items.size() == 4) {
        // The older form reserves along the whole edge.
        constexpr double kWhole = 1e9;
        strut.values[kLeftEndY] = strut.values[kRightEndY] = kWhole;
        strut.values[kTopEndX] = strut.values[kBottomEndX] = kWhole;
    }
    return strut;
}

MonitorLayout::MonitorLayout(std::vector<Monitor> monitors, Size root)
    : monitors_(std::move(monitors)), root_(root) {
    auto primary = std::find_if(monitors_.begin(), monitors_.end(),
                                [](const Monitor& m) { return m.primary; });
    if (primary == monitors_.end()) {
        // Without a primary monitor the one at the root's origin stands in, as toolkits do.
        primary = std::find_if(monitors_.begin(), monitors_.end(),
                               [](const Monitor& m) { return m.frame.x == 0 && m.frame.y == 0; });
    }
    if (primary != monitors_.end()) {
        std::rotate(monitors_.begin(), primary, primary + 1);
    }
    if (!monitors_.empty()) {
        origin_ = monitors_.front().frame.origin();
        primaryHeight_ = monitors_.front().frame.height;
    }
}

Rect MonitorLayout::visibleFrame(const Monitor& monitor, const std::vector<Strut>& struts) const {
    const Rect& f = monitor.frame;
    double left = f.minX();
    double top = f.minY();
    double right = f.maxX();
    double bottom = f.maxY();
    for (const Strut& strut : struts) {
        const auto& s = strut.values;
        if (s[kLeft] > f.minX() && meets(s[kLeftStartY], s[kLeftEndY], f.minY(), f.maxY())) {
            left = std::max(left, s[kLeft]);
        }
        if (root_.width - s[kRight] < f.maxX() &&
            meets(s[kRightStartY], s[kRightEndY], f.minY(), f.maxY())) {
            right = std::min(right, root_.width - s[kRight]);
        }
        if (s[kTop] > f.minY() && meets(s[kTopStartX], s[kTopEndX], f.minX(), f.maxX())) {
            top = std::max(top, s[kTop]);
        }
        if (root_.height - s[kBottom] < f.maxY() &&
            meets(s[kBottomStartX], s[kBottomEndX], f.minX(), f.maxX())) {
            bottom = std::min(bottom, root_.height - s[kBottom]);
        }
    }
    if (right <= left || bottom <= top) {
        // A dock that claims the whole monitor is a damaged property, not a monitor without room.
        return f;
    }
    return {left, top, right - left, bottom - top};
}

bool MonitorLayout::showsOnAnyMonitor(const Rect& root) const {
    return std::any_of(monitors_.begin(), monitors_.end(), [&](const Monitor& m) {
        Rect overlap = m.frame.intersection(root);
        return overlap.width > 1 && overlap.height > 1;
    });
}

Point MonitorLayout::toAccessibility(Point root) const {
    return {root.x - origin_.x, root.y - origin_.y};
}

Rect MonitorLayout::toAccessibility(const Rect& root) const {
    return {toAccessibility(root.origin()), root.size()};
}

Point MonitorLayout::fromAccessibility(Point accessibility) const {
    return {accessibility.x + origin_.x, accessibility.y + origin_.y};
}

Point MonitorLayout::toScreenSpace(Point root) const {
    return flipped(toAccessibility(root), primaryHeight_);
}

Rect MonitorLayout::toScreenSpace(const Rect& root) const {
    return flipped(toAccessibility(root), primaryHeight_);
}

Point MonitorLayout::fromScreenSpace(Point screen) const {
    return fromAccessibility(flipped(screen, primaryHeight_));
}

Rect MonitorLayout::fromScreenSpace(const Rect& screen) const {
    Rect accessibility = flipped(screen, primaryHeight_);
    return {fromAccessibility(accessibility.origin()), accessibility.size()};
}

}  // namespace nimbrel::x11
