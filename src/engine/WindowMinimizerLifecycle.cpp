// Pruning, adoption at launch, the snapshot for an update relaunch and the release at termination.
#include <algorithm>
#include <cmath>

#include "engine/WindowMinimizer.h"

namespace nimbrel {

void WindowMinimizer::prune() {
    Workspace& workspace = services_.workspace;
    // The records of a closed window go first, so that nothing below keeps a window for a lock,
    // an origin or a cover it no longer has.
    std::vector<Lock> stale;
    for (const auto& lock : hidden_.locks()) {
        if (workspace.isTerminated(lock.app) || !access_.answersRole(lock.element)) {
            stale.push_back(lock);
        }
    }
    for (const auto& lock : stale) {
        removeLock(lock.element);
    }
    hidden_.eraseOriginsIf([&](const HiddenOrigin& entry) {
        return !access_.processID(entry.element) || !access_.answersRole(entry.element);
    });
    for (const auto& covered : std::vector<WindowRef>(cover_->covered())) {
        // What the cover's frame-following does for a window that is gone.
        if (workspace.isTerminated(covered.app) || !access_.answersRole(covered.element)) {
            cover_->uncover(covered.element);
        }
    }
    hidden_.eraseIf([&](const WindowRef& window) {
        if (workspace.isTerminated(window.app)) {
            return true;
        }
        if (cover_->isCovered(window.element) ||
            access_.isMinimized(window.element).value_or(false) || isLocked(window.element)) {
            return false;
        }
        // A parked window that is back in sight was brought back by other means.
        return !(hidden_.origin(window.element) && !access_.isOnScreen(window.element));
    });
    // An origin belongs to a parked window; one whose window is back in sight would send the
    // window beyond the screens again at the next screen change.
    hidden_.eraseOriginsIf(
        [&](const HiddenOrigin& entry) { return !hidden_.contains(entry.element); });
}

std::vector<WindowKey> WindowMinimizer::lockedKeys() {
    prune();
    std::vector<WindowKey> keys;
    for (const auto& window : hidden_.minimized()) {
        if (isLocked(window.element)) {
            if (auto key = access_.key(window)) {
                keys.push_back(*key);
            }
        }
    }
    return keys;
}

long WindowMinimizer::adoptParked(const std::vector<WindowKey>& lockedBefore) {
    prune();
    Point parking = access_.parkingPoint();
    long count = 0;
    for (const auto& window : access_.allWindows()) {
        ElementRef element = window.element;
        if (hidden_.contains(element)) {
            continue;
        }
        auto key = access_.key(window);
        bool wantsLock = callbacks_.isLockedDesignation(window) ||
                         (key && std::find(lockedBefore.begin(), lockedBefore.end(), *key) !=
                                     lockedBefore.end());
        auto position = access_.position(element);
        // Only the parking column is compared: the window's y depends on the screens at the time.
        bool parked =
            position && !access_.isOnScreen(element) && std::abs(position->x - parking.x) <= 1;
        // A window minimised while parked would come back from the Dock beyond the screens, so
        // it is adopted like a parked one; one minimised in its place only when it is locked.
        if (access_.isMinimized(element).value_or(false) && !parked) {
            if (wantsLock) {
                hidden_.add(window);
                addLock(Lock{element, window.app, std::nullopt});
                ++count;
            }
            continue;
        }
        if (!position || access_.isOnScreen(element) || !(parked || wantsLock)) {
            continue;
        }
        auto origin = placement_.centredOrigin(element);
        hidden_.add(window);
        if (wantsLock) {
            addLock(Lock{element, window.app, origin});
        } else {
            if (origin) {
                hidden_.rememberOrigin(element, *origin);
            }
            observers_.watchFocus(window.app);
        }
        ++count;
    }
    return count;
}

std::vector<ResumeWindow> WindowMinimizer::resumeWindows() {
    prune();
    std::vector<ResumeWindow> result;
    for (const auto& window : hidden_.minimized()) {
        auto key = access_.key(window);
        if (!key) {
            continue;
        }
        const auto& focusHidden = hidden_.focusHidden();
        bool focus = std::any_of(focusHidden.begin(), focusHidden.end(),
                                 [&](const WindowRef& w) { return w.isSameWindow(window); });
        result.push_back({*key, isLocked(window.element), focus});
    }
    return result;
}

std::optional<bool> WindowMinimizer::resumeFocusLocked() const {
    return hidden_.focusLocked();
}

long WindowMinimizer::applyResume(const std::vector<ResumeWindow>& windows,
                                  std::optional<bool> focusLocked) {
    long count = 0;
    for (const auto& record : windows) {
        auto window = access_.resolve(record.key);
        if (!window) {
            continue;
        }
        bool hidden = false;
        if (record.locked) {
            hidden = hide(*window, Guard::locked, HideStyle::outOfSight);
        } else {
            ElementRef element = window->element;
            bool inSight = !cover_->isCovered(element) && !isLocked(element) &&
                           !access_.isMinimized(element).value_or(false) &&
                           !services_.workspace.isHidden(window->app) &&
                           access_.isOnScreen(element);
            hidden = inSight && hide(*window, Guard::unlocked, HideStyle::outOfSight);
        }
        if (hidden) {
            ++count;
            if (record.focus) {
                hidden_.addFocusHidden(*window);
            }
        }
    }
    if (focusLocked) {
        hidden_.startFocus(*focusLocked);
    }
    return count;
}

void WindowMinimizer::convertCoveredForRelaunch() {
    // Cover panels die with the process: turn each covered window into a minimised one in place.
    for (const auto& window : hidden_.minimized()) {
        if (!cover_->isCovered(window.element)) {
            continue;
        }
        auto origin = access_.position(window.element);
        access_.setPosition(access_.parkingPoint(), window.element);
        access_.setMinimized(true, window.element);
        if (origin) {
            access_.setPosition(*origin, window.element);
        }
    }
    releaseAll();
}

void WindowMinimizer::releaseForSessionEnd() {
    prune();
    for (const auto& covered : std::vector<WindowRef>(cover_->covered())) {
        ElementRef element = covered.element;
        auto origin = access_.position(element);
        // Beyond the screens first, so that the window is never in sight once the cover is gone.
        access_.setPosition(access_.parkingPoint(), element);
        if (isLocked(element)) {
            continue;
        }
        access_.setMinimized(true, element);
        if (origin) {
            access_.setPosition(*origin, element);
        }
    }
    for (const auto& entry : hidden_.hiddenOrigins()) {
        if (!isLocked(entry.element) && !access_.isOnScreen(entry.element)) {
            access_.setMinimized(true, entry.element);
            access_.setPosition(placement_.adjustedIntoScreens(entry.element, entry.origin),
                                entry.element);
        }
    }
    for (const auto& lock : hidden_.takeLocks()) {
        observers_.unwatch(lock);
    }
    hidden_.clear();
    cover_->removeAll();
}

void WindowMinimizer::releaseAll() {
    for (const auto& lock : hidden_.locks()) {
        if (lock.origin) {
            access_.setMinimized(true, lock.element);
        }
    }
    std::vector<Lock> locks = hidden_.takeLocks();
    for (const auto& lock : locks) {
        observers_.unwatch(lock);
        if (lock.origin) {
            access_.setPosition(placement_.adjustedIntoScreens(lock.element, *lock.origin),
                                lock.element);
        }
    }
    for (const auto& entry : hidden_.hiddenOrigins()) {
        if (!access_.isOnScreen(entry.element)) {
            access_.setMinimized(true, entry.element);
            access_.setPosition(placement_.adjustedIntoScreens(entry.element, entry.origin),
                                entry.element);
        }
    }
    hidden_.clear();
    cover_->removeAll();
}

}  // namespace nimbrel
