#include "engine/Placement.h"

#include <algorithm>

namespace nimbrel {

std::optional<Point> placement(const Rect& window, const Rect& screenFrame,
                               const Rect& visibleFrame) {
    if (screenFrame.contains({window.midX(), window.midY()})) {
        return std::nullopt;
    }
    const Rect& v = visibleFrame;
    double x = std::max(v.minX(), std::min(v.maxX() - window.width, v.midX() - window.width * 0.5));
    double y =
        std::max(v.minY(), std::min(v.maxY() - window.height, v.midY() - window.height * 0.5));
    return Point{x, y};
}

}  // namespace nimbrel
