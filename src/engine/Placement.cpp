#include "engine/Placement.h"

#include <algorithm>

namespace nimbrel {

namespace {
// A window whose size cannot be read is placed as if it were 800 x 600 points.
constexpr Size kAssumedSize{800, 600};
// A display change makes the system move windows about for a moment; such moves are not requests.
constexpr double kScreenChangeWindow = 3.0;
}  // namespace

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

Screen ScreenPlacement::toAccessibility(const Screen& screen) {
    auto screens = screens_.screens();
    double primaryHeight = screens.empty() ? 0 : screens.front().frame.height;
    Screen converted = screen;
    converted.frame = WindowAccess::toAccessibility(screen.frame, primaryHeight);
    converted.visibleFrame = WindowAccess::toAccessibility(screen.visibleFrame, primaryHeight);
    return converted;
}

std::optional<Screen> ScreenPlacement::chosenOrMainScreen() {
    auto screen = chosenScreen_();
    if (!screen) {
        screen = screens_.mainScreen();
    }
    if (!screen) {
        return std::nullopt;
    }
    return toAccessibility(*screen);
}

std::optional<Point> ScreenPlacement::centredOrigin(ElementRef element) {
    auto screen = chosenOrMainScreen();
    if (!screen) {
        return std::nullopt;
    }
    Size size = access_.size(element).value_or(kAssumedSize);
    const Rect& v = screen->visibleFrame;
    return Point{v.midX() - size.width * 0.5, std::max(v.minY(), v.midY() - size.height * 0.5)};
}

Point ScreenPlacement::adjustedIntoScreens(ElementRef element, Point origin) {
    Size size = access_.size(element).value_or(Size{0, 0});
    Point centre{origin.x + size.width * 0.5, origin.y + size.height * 0.5};
    for (const auto& rect : access_.screenRects()) {
        if (rect.contains(centre)) {
            return origin;
        }
    }
    if (auto screen = chosenOrMainScreen()) {
        if (auto placed = placement(Rect(origin, size), screen->frame, screen->visibleFrame)) {
            return *placed;
        }
    }
    return origin;
}

void ScreenPlacement::moveOntoChosenScreen(ElementRef element) {
    auto chosen = chosenScreen_();
    if (!chosen) {
        return;
    }
    auto position = access_.position(element);
    auto size = access_.size(element);
    if (!position || !size) {
        return;
    }
    Screen screen = toAccessibility(*chosen);
    if (auto placed = placement(Rect(*position, *size), screen.frame, screen.visibleFrame)) {
        access_.setPosition(*placed, element);
    }
}

bool ScreenPlacement::changedRecently() {
    auto rects = access_.screenRects();
    if (rects != known_) {
        known_ = std::move(rects);
        changedAt_ = loop_.now();
    }
    return loop_.now() - changedAt_ < kScreenChangeWindow;
}

void ScreenPlacement::noteChange() {
    known_ = access_.screenRects();
    changedAt_ = loop_.now();
}

}  // namespace nimbrel
