#include "engine/WindowMinimizer.h"

#include <algorithm>
#include <set>

#include "engine/Placement.h"
#include "platform/AccessibilityNames.h"

namespace nimbrel {

namespace {
constexpr double kMessagingTimeout = 1.0;
constexpr double kSecondPlacementDelay = 0.5;
}  // namespace

WindowMinimizer::WindowMinimizer(EngineServices services, Callbacks callbacks)
    : services_(services),
      callbacks_(std::move(callbacks)),
      access_(services.accessibility, services.workspace, services.screens, services.strings),
      loop_(services.loop),
      placement_(access_, services.screens, services.loop, callbacks_.chosenScreen),
      designations_(access_, services.workspace, callbacks_.onWindowNumberChanged),
      cover_(std::make_unique<CoverController>()),
      summons_(services.eventSource, services.loop),
      observers_(services.accessibility, services.workspace,
                 [this](Pid pid, ElementRef element, const std::string& notification) {
                     handleNotification(pid, element, notification);
                 }) {
    // Bounds every accessibility call of the program when an application does not answer.
    services.accessibility.setMessagingTimeout(services.accessibility.systemWideElement(),
                                               kMessagingTimeout);
    activation_ = services.workspace.observe(
        WorkspaceAppEvent::didActivate, guard_.wrap([this](AppRef app) { handleActivation(app); }));
}

WindowMinimizer::~WindowMinimizer() = default;

// ---- records ------------------------------------------------------------------------------

void WindowMinimizer::addLock(const Lock& lock) {
    hidden_.addLock(lock);
    observers_.watch(lock);
    // A locked window out of sight must not keep the keyboard focus when it gets it.
    observers_.watchFocus(lock.app);
}

void WindowMinimizer::removeLock(ElementRef element) {
    if (auto lock = hidden_.removeLock(element)) {
        observers_.unwatch(*lock);
    }
}

// ---- hiding -------------------------------------------------------------------------------

bool WindowMinimizer::hide(const WindowRef& window, Guard guard, HideStyle style) {
    ElementRef element = window.element;
    // Hiding a locked window again never weakens its lock.
    if (callbacks_.isLockedDesignation(window) || isLocked(element)) {
        guard = Guard::locked;
    }
    summons_.noteHide();

    // A window is hidden one way at a time. A cover hides a window where it stands, so it only
    // goes over one that is in sight; one that is parked or minimised stays hidden that way.
    if (style == HideStyle::cover && !access_.isMinimized(element).value_or(false) &&
        access_.isOnScreen(element)) {
        coverInPlace(window, guard);
        return true;
    }

    auto position = access_.position(element);
    if (position && access_.isOnScreen(element)) {
        // A window that is visible again has no valid stored origin.
        hidden_.eraseOrigin(element);
    }
    // A window parked twice keeps its first origin, not its parked position.
    std::optional<Point> origin = hidden_.origin(element);
    if (!origin) {
        origin = position;
    }
    if (callbacks_.instantHide() || guard == Guard::locked) {
        return park(window, guard, origin);
    }
    return minimize(window, Guard::unlocked, origin);
}

void WindowMinimizer::coverInPlace(const WindowRef& window, Guard guard) {
    ElementRef element = window.element;
    cover_->cover(window);
    hidden_.moveToEnd(window);
    hidden_.eraseOrigin(element);
    if (guard == Guard::unlocked) {
        return;
    }
    // A covered window never moves, so its lock has no origin and watches nothing; a lock left
    // over from an earlier park would park the window again under its cover.
    removeLock(element);
    hidden_.addLock(Lock{element, window.app, std::nullopt});
}

void WindowMinimizer::dropCover(ElementRef element) {
    if (!cover_->isCovered(element)) {
        return;
    }
    cover_->uncover(element);
    // The cover's lock knew no origin and watched nothing; the park or minimise that replaces the
    // cover makes a lock of its own.
    removeLock(element);
}

bool WindowMinimizer::park(const WindowRef& window, Guard guard, std::optional<Point> origin) {
    ElementRef element = window.element;
    bool locked = guard == Guard::locked;
    if (access_.setPosition(access_.parkingPoint(), element) != AXError::success) {
        return locked ? minimize(window, guard, origin) : false;
    }
    // A successful write is no proof that the window moved: an application or a window manager
    // may keep it on screen, where it is, or clamped to an edge. Only where it ended up counts.
    if (access_.isOnScreen(element)) {
        if (!locked && origin && access_.position(element) != origin) {
            // Minimised where the user had it, so that it comes back there.
            access_.setPosition(*origin, element);
        }
        return minimize(window, guard, origin);
    }
    dropCover(element);
    hidden_.moveToEnd(window);
    if (locked) {
        hidden_.eraseOrigin(element);
        if (!isLocked(element)) {
            addLock(Lock{element, window.app, origin});
        }
    } else if (origin) {
        hidden_.rememberOrigin(element, *origin);
        observers_.watchFocus(window.app);
    }
    moveFocusAway(window);
    return true;
}

bool WindowMinimizer::minimize(const WindowRef& window, Guard guard, std::optional<Point> origin) {
    ElementRef element = window.element;
    if (access_.setMinimized(true, element) != AXError::success) {
        return false;
    }
    dropCover(element);
    hidden_.moveToEnd(window);
    if (guard == Guard::locked && !isLocked(element)) {
        hidden_.eraseOrigin(element);
        // Restored behind the program's back, the window then shows up beyond the screens.
        access_.setPosition(access_.parkingPoint(), element);
        addLock(Lock{element, window.app, origin});
    }
    return true;
}

bool WindowMinimizer::hideFocused(Guard guard, HideStyle style) {
    auto window = access_.focusedWindow();
    return window ? hide(*window, guard, style) : false;
}

void WindowMinimizer::moveFocusAway(const WindowRef& window) {
    auto front = services_.workspace.frontmostApplication();
    if (!front || *front != window.app) {
        return;
    }
    ElementRef application = access_.applicationElement(window.app);
    if (access_.focusedWindowElement(application) != window.element) {
        return;
    }
    for (ElementRef candidate : access_.standardWindows(application)) {
        if (candidate == window.element || access_.isMinimized(candidate).value_or(false) ||
            cover_->isCovered(candidate) || !access_.isOnScreen(candidate)) {
            continue;
        }
        access_.setBool(ax::attribute::kMain, true, candidate);
        access_.raise(candidate);
        return;
    }
    // Nothing of the application is left in sight, so nothing of it may keep the keyboard focus.
    services_.workspace.hide(window.app);
}

bool WindowMinimizer::isConcealed(const WindowRef& window) {
    return cover_->isCovered(window.element) || isLocked(window.element) ||
           access_.isMinimized(window.element).value_or(false) ||
           services_.workspace.isHidden(window.app) || !access_.isOnScreen(window.element);
}

bool WindowMinimizer::needsHide(const WindowRef& window, Guard wanted) {
    bool concealed = isConcealed(window);
    bool wantsLock = wanted == Guard::locked || callbacks_.isLockedDesignation(window);
    if (wantsLock && concealed) {
        // Out of sight but not yet guarded: it must be hidden again to become locked.
        return !isLocked(window.element) && !cover_->isCovered(window.element);
    }
    return !concealed;
}

// ---- revealing ----------------------------------------------------------------------------

void WindowMinimizer::reveal(const std::vector<WindowRef>& windows, RevealAuth auth,
                             RevealPlace place, std::function<void(bool)> completion) {
    if (isAuthenticating_) {
        completion(false);
        return;
    }
    std::vector<WindowRef> request = windows;
    std::set<Pid> wholeAppPids;
    for (const auto& window : windows) {
        if (callbacks_.isWholeAppDesignation(window)) {
            wholeAppPids.insert(services_.workspace.processID(window.app));
        }
    }
    if (!wholeAppPids.empty()) {
        prune();
        for (const auto& hidden : hidden_.minimized()) {
            bool inRequest = std::any_of(request.begin(), request.end(), [&](const WindowRef& w) {
                return w.isSameWindow(hidden);
            });
            if (!inRequest && wholeAppPids.count(services_.workspace.processID(hidden.app))) {
                request.push_back(hidden);
            }
        }
    }
    std::vector<WindowRef> free;
    std::vector<WindowRef> guarded;
    for (const auto& window : request) {
        bool isGuarded = auth == RevealAuth::always || callbacks_.isLockedDesignation(window) ||
                         isLocked(window.element);
        (isGuarded ? guarded : free).push_back(window);
    }
    bool freeResult = revealUnlocked(free, place);
    if (guarded.empty()) {
        completion(freeResult);
        return;
    }
    if (!callbacks_.authenticate) {
        completion(false);
        return;
    }
    isAuthenticating_ = true;
    callbacks_.authenticate(
        services_.strings.text("auth.reason.unlockWindows"_key),
        guard_.wrap([this, guarded, place, freeResult, completion](bool success) {
            isAuthenticating_ = false;
            if (!success) {
                completion(false);
                return;
            }
            for (const auto& window : guarded) {
                const Lock* lock = hidden_.lockFor(window.element);
                if (lock == nullptr) {
                    continue;
                }
                std::optional<Point> origin = lock->origin;
                removeLock(window.element);
                if (origin) {
                    access_.setPosition(placement_.adjustedIntoScreens(window.element, *origin),
                                        window.element);
                }
            }
            bool guardedResult = revealUnlocked(guarded, place);
            completion(guardedResult && freeResult);
        }));
}

bool WindowMinimizer::revealUnlocked(const std::vector<WindowRef>& windows, RevealPlace place) {
    bool all = true;
    for (const auto& window : windows) {
        all = revealOne(window, place) && all;
    }
    return all;
}

bool WindowMinimizer::revealOne(const WindowRef& window, RevealPlace place) {
    bool onScreen = place == RevealPlace::onChosenScreen;
    ElementRef element = window.element;
    hidden_.erase(element);
    Workspace& workspace = services_.workspace;
    if (workspace.isTerminated(window.app)) {
        return false;
    }
    if (callbacks_.onRevealed) {
        callbacks_.onRevealed(window);
    }
    if (cover_->isCovered(element)) {
        cover_->uncover(element);
        workspace.unhide(window.app);
        if (access_.isMinimized(element).value_or(false)) {
            // Minimised by its user while covered: revealing brings it into sight all the same.
            access_.setMinimized(false, element);
        }
        if (onScreen) {
            placement_.moveOntoChosenScreen(element);
        }
        access_.raise(element);
        return true;
    }
    workspace.unhide(window.app);
    if (auto origin = hidden_.origin(element)) {
        hidden_.eraseOrigin(element);
        access_.setPosition(placement_.adjustedIntoScreens(element, *origin), element);
    } else if (!access_.isOnScreen(element)) {
        if (auto centred = placement_.centredOrigin(element)) {
            access_.setPosition(*centred, element);
        }
    }
    bool wasMinimized = access_.isMinimized(element).value_or(false);
    if (access_.setMinimized(false, element) != AXError::success) {
        return false;
    }
    if (onScreen) {
        placement_.moveOntoChosenScreen(element);
        if (wasMinimized) {
            // The de-miniaturise animation puts the window back where it was; place it again once
            // the animation has ended. A one-shot nobody cancels; it does nothing once the engine
            // is gone.
            loop_.startTimer(kSecondPlacementDelay, false, guard_.wrap([this, element] {
                placement_.moveOntoChosenScreen(element);
            }));
        }
    }
    access_.raise(element);
    Pid pid = access_.processID(element).value_or(workspace.processID(window.app));
    access_.setBool(ax::attribute::kFrontmost, true,
                    services_.accessibility.applicationElement(pid));
    return true;
}

void WindowMinimizer::restoreLast(std::function<void(bool)> completion) {
    prune();
    if (hidden_.minimized().empty()) {
        completion(false);
        return;
    }
    reveal({hidden_.minimized().back()}, RevealAuth::asNeeded, RevealPlace::onChosenScreen,
           std::move(completion));
}

}  // namespace nimbrel
