#include "app/notices/OwnWindowPlacement.h"

#include <algorithm>

namespace nimbrel {

std::optional<Screen> OwnWindowPlacement::chosenScreen() const {
    if (!currentChoice_) {
        return std::nullopt;
    }
    return currentChoice_().resolve(screens_);
}

std::optional<Rect> OwnWindowPlacement::placed(const Rect& window) const {
    auto screen = chosenScreen();
    if (!screen) {
        return std::nullopt;
    }
    auto newOrigin = origin(window, *screen);
    if (!newOrigin) {
        return std::nullopt;
    }
    return Rect(*newOrigin, window.size());
}

std::optional<Point> OwnWindowPlacement::origin(const Rect& window, const Screen& screen) {
    if (screen.frame.contains({window.midX(), window.midY()})) {
        return std::nullopt;
    }
    const Rect& v = screen.visibleFrame;
    double x = std::max(v.minX(), v.midX() - window.width * 0.5);
    double y =
        std::max(v.minY(), std::min(v.maxY() - window.height,
                                    v.minY() + (v.height - window.height) * kHeightFraction));
    return Point{x, y};
}

}  // namespace nimbrel
