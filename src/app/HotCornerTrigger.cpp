#include "app/HotCornerTrigger.h"

namespace nimbrel {

void HotCornerTrigger::apply() {
    bool wanted = services_.store.hotCorner().get() != HotCorner::off;
    if (wanted && !monitor_.isActive()) {
        monitor_ = services_.eventSource.observeMouseMoved(guard_.wrap([this](Point) { check(); }));
    } else if (!wanted) {
        monitor_.cancel();
    }
}

bool HotCornerTrigger::isInCorner(HotCorner corner, Point pointer, const Rect& frame) {
    bool left = pointer.x <= frame.minX() + kBand;
    bool right = pointer.x >= frame.maxX() - kBand;
    bool top = pointer.y >= frame.maxY() - kBand;
    bool bottom = pointer.y <= frame.minY() + kBand;
    switch (corner) {
        case HotCorner::topLeft:
            return left && top;
        case HotCorner::topRight:
            return right && top;
        case HotCorner::bottomLeft:
            return left && bottom;
        case HotCorner::bottomRight:
            return right && bottom;
        case HotCorner::allCorners:
            return (left || right) && (top || bottom);
        case HotCorner::off:
            break;
    }
    return false;
}

void HotCornerTrigger::check() {
    HotCorner corner = services_.store.hotCorner().get();
    if (corner == HotCorner::off) {
        return;
    }
    Point pointer = services_.screens.mouseLocation();
    // Only the first screen that holds the pointer is examined, so a corner's band never reaches
    // across to a neighbouring screen.
    for (const Screen& screen : services_.screens.screens()) {
        if (!screen.frame.containsInScreenSpace(pointer)) {
            continue;
        }
        if (!isInCorner(corner, pointer, screen.frame)) {
            return;
        }
        TimePoint now = services_.loop.now();
        if (now - lastFire_ > kRepeatSeconds) {
            lastFire_ = now;
            services_.hideAllBound();
        }
        return;
    }
}

}  // namespace nimbrel
