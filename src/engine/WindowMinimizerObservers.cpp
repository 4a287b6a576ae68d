// What the observers report: someone else brings a hidden window forward, moves or
// de-miniaturises it; and the screens changing underneath the parked ones.
#include <algorithm>

#include "engine/WindowMinimizer.h"
#include "platform/AccessibilityNames.h"

namespace nimbrel {

void WindowMinimizer::handleNotification(Pid pid, ElementRef element,
                                         const std::string& notification) {
    if (notification == ax::notification::kFocusedWindowChanged) {
        handleFocusChange(pid);
    } else {
        handleLockedWindow(element, notification);
    }
}

std::optional<WindowRef> WindowMinimizer::parkedWindow(ElementRef element) const {
    // Only parked windows without a lock: locked ones have a guard of their own, which a summon
    // must not get around.
    if (!hidden_.origin(element)) {
        return std::nullopt;
    }
    for (const auto& window : hidden_.minimized()) {
        if (window.element == element) {
            return window;
        }
    }
    return std::nullopt;
}

std::optional<WindowRef> WindowMinimizer::parkedFocusedWindow(ElementRef application) {
    auto focused = access_.focusedWindowElement(application);
    return focused ? parkedWindow(*focused) : std::nullopt;
}

std::optional<WindowRef> WindowMinimizer::lockedOutOfSight(ElementRef element) {
    const Lock* lock = hidden_.lockFor(element);
    if (lock == nullptr || cover_->isCovered(element)) {
        return std::nullopt;
    }
    if (!access_.isMinimized(element).value_or(false) && access_.isOnScreen(element)) {
        return std::nullopt;
    }
    return WindowRef{element, lock->app, access_.title(element)};
}

void WindowMinimizer::handleFocusChange(Pid pid) {
    // The platform names the newly focused window rather than the application it was registered
    // on, and focus may have moved on again before the notification arrives: ask the application.
    ElementRef application = services_.accessibility.applicationElement(pid);
    if (access_.stringAttribute(ax::attribute::kRole, application) != ax::role::kApplication) {
        return;
    }
    if (guardLockedFocus(application)) {
        return;
    }
    auto window = parkedFocusedWindow(application);
    if (!window) {
        return;
    }
    if (summon(SummonCause::focusChange, false) == Summon::reveal) {
        reveal({*window}, RevealAuth::asNeeded, RevealPlace::whereItWas, [](bool) {});
    }
}

void WindowMinimizer::parkAgain(ElementRef element) {
    if (access_.setPosition(access_.parkingPoint(), element) != AXError::success ||
        access_.isOnScreen(element)) {
        access_.setMinimized(true, element);
    }
}

void WindowMinimizer::handleLockedWindow(ElementRef element, const std::string& notification) {
    const Lock* lock = hidden_.lockFor(element);
    if (lock == nullptr) {
        return;
    }
    WindowRef window{element, lock->app, access_.title(element)};
    bool moved = notification == ax::notification::kWindowMoved;
    bool afterScreenChange = moved && screensChangedRecently();
    bool inSight = !access_.isMinimized(element).value_or(false) && access_.isOnScreen(element);
    if (inSight) {
        parkAgain(element);
    } else if (moved) {
        // Still beyond the screens: the engine's own parking, or a move nobody could see.
        return;
    }
    if (afterScreenChange) {
        return;
    }
    summonLocked(window, AttemptLog::record);
}

void WindowMinimizer::handleActivation(AppRef app) {
    guardActivation(app);
    handleParkedActivation(app);
}

bool WindowMinimizer::hasOtherWindow(ElementRef application, ElementRef except) {
    for (ElementRef candidate : access_.standardWindows(application)) {
        if (candidate != except && !access_.isMinimized(candidate).value_or(false) &&
            !cover_->isCovered(candidate) && access_.isOnScreen(candidate)) {
            return true;
        }
    }
    return false;
}

void WindowMinimizer::handleParkedActivation(AppRef app) {
    if (!observers_.isFocusWatched(services_.workspace.processID(app))) {
        return;
    }
    ElementRef application = access_.applicationElement(app);
    if (guardLockedFocus(application)) {
        return;
    }
    auto window = parkedFocusedWindow(application);
    if (!window) {
        return;
    }
    switch (summon(SummonCause::activation, hasOtherWindow(application, window->element))) {
        case Summon::moveFocus:
            moveFocusAway(*window);
            break;
        case Summon::reveal:
            reveal({*window}, RevealAuth::asNeeded, RevealPlace::whereItWas, [](bool) {});
            break;
        case Summon::ignore:
            break;
    }
}

void WindowMinimizer::reparkAfterScreenChange() {
    placement_.noteChange();
    Point parking = access_.parkingPoint();
    // A window minimised while parked moves along, so that it stays in the parking column where
    // the next launch finds it if this one ends without releasing it; only one minimised where
    // the user had it stays put.
    auto minimised = [&](ElementRef element) {
        return access_.isMinimized(element).value_or(false);
    };
    for (const auto& entry : hidden_.hiddenOrigins()) {
        if (!minimised(entry.element) || !access_.isOnScreen(entry.element)) {
            access_.setPosition(parking, entry.element);
        }
    }
    for (const auto& lock : hidden_.locks()) {
        if (!minimised(lock.element)) {
            if (lock.origin) {
                parkAgain(lock.element);
            }
        } else if (!access_.isOnScreen(lock.element)) {
            access_.setPosition(parking, lock.element);
        }
    }
}

}  // namespace nimbrel
