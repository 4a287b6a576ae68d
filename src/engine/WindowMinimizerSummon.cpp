// Telling the user's requests for a hidden window from things that merely happen to its
// application, and asking to unlock a locked window that was brought forward.
#include <algorithm>
#include <cmath>

#include "engine/WindowMinimizer.h"

namespace nimbrel {

namespace {
// Input older than this did not ask for anything that happens now.
constexpr double kFreshInput = 2.0;
// How long a declined prompt keeps its application from asking again without new input.
constexpr double kDeclinedLifetime = 10.0;
}  // namespace

std::optional<double> WindowMinimizer::secondsSinceInput(bool countKeys) {
    // The platform reports no right mouse up of its own; a click is the left mouse up.
    std::vector<InputEventType> types{InputEventType::leftMouseUp};
    if (countKeys) {
        types.push_back(InputEventType::keyDown);
    }
    std::optional<double> least;
    for (InputEventType type : types) {
        double seconds = services_.eventSource.secondsSinceLastEvent(type);
        if (std::isfinite(seconds) && (!least || seconds < *least)) {
            least = seconds;
        }
    }
    return least;
}

WindowMinimizer::Summon WindowMinimizer::summon(SummonCause cause, bool hasOtherWindow) {
    bool fromFocusChange = cause == SummonCause::focusChange;
    auto sinceInput = secondsSinceInput(false);
    double sinceHide = loop_.now() - lastHideAt_;
    if (!sinceInput || *sinceInput > kFreshInput) {
        // Nobody clicked: the system handed the focus over, typically right after a hide.
        if (fromFocusChange) {
            return Summon::ignore;
        }
        return hasOtherWindow ? Summon::moveFocus : Summon::ignore;
    }
    // A click that came before the last hide was the one that hid it, not a request to see it.
    bool clickedAfterHide = sinceHide > *sinceInput;
    if (fromFocusChange) {
        return clickedAfterHide ? Summon::reveal : Summon::ignore;
    }
    if (hasOtherWindow) {
        return Summon::moveFocus;
    }
    return clickedAfterHide ? Summon::reveal : Summon::ignore;
}

void WindowMinimizer::guardActivation(AppRef) {
    // The lock guard of an activated application belongs here: it re-hides the application's
    // locked windows before anything else of the activation is handled.
}

bool WindowMinimizer::guardLockedFocus(ElementRef application) {
    auto focused = access_.focusedWindowElement(application);
    auto window = focused ? lockedOutOfSight(*focused) : std::nullopt;
    if (!window) {
        return false;
    }
    // What the user types must never go into a window they cannot see, whether or not they
    // asked for it: the focus leaves first, and the prompt brings the window back if they agree.
    moveFocusAway(*window);
    auto sinceInput = secondsSinceInput(true);
    if (sinceInput && *sinceInput <= kFreshInput) {
        summonLocked(*window, AttemptLog::quiet);
    }
    return true;
}

void WindowMinimizer::summonLocked(const WindowRef& window, AttemptLog log) {
    TimePoint now = loop_.now();
    std::erase_if(declined_,
                  [&](const DeclinedPrompt& d) { return now - d.date > kDeclinedLifetime; });
    Workspace& workspace = services_.workspace;
    Pid pid = workspace.processID(window.app);
    std::optional<TimePoint> declinedAt;
    for (const auto& entry : declined_) {
        if (entry.pid == pid && (!declinedAt || entry.date > *declinedAt)) {
            declinedAt = entry.date;
        }
    }
    if (!declinedAt) {
        askToUnlock(window);
        return;
    }
    auto sinceInput = secondsSinceInput(true);
    if (sinceInput && *sinceInput <= kFreshInput && now - *sinceInput > *declinedAt) {
        // The user clicked or typed after declining: that is a new request.
        std::erase_if(declined_, [&](const DeclinedPrompt& d) { return d.pid == pid; });
        askToUnlock(window);
        return;
    }
    // Brought forward again without anyone asking, right after a refusal: keep it out of sight.
    if (!workspace.isTerminated(window.app) && !workspace.isHidden(window.app) &&
        !hasVisibleUnlockedWindow(window.app)) {
        workspace.hide(window.app);
    }
    if (log == AttemptLog::record) {
        recordAttempts({window}, AttemptReason::blockedWithoutAuth);
    }
}

void WindowMinimizer::askToUnlock(const WindowRef& window) {
    if (isAuthenticating_) {
        // A prompt is open already; its answer decides, and refusing this second request is no
        // decline by the user.
        return;
    }
    Pid pid = services_.workspace.processID(window.app);
    reveal({window}, RevealAuth::always, RevealPlace::onChosenScreen,
           guard_.wrap([this, pid](bool success) {
               if (!success) {
                   declined_.push_back({pid, loop_.now()});
               }
           }));
}

bool WindowMinimizer::hasVisibleUnlockedWindow(AppRef app) {
    for (ElementRef candidate : access_.standardWindows(access_.applicationElement(app))) {
        if (cover_->isCovered(candidate) || isLocked(candidate)) {
            continue;
        }
        if (!access_.isMinimized(candidate).value_or(false) && access_.isOnScreen(candidate)) {
            return true;
        }
    }
    return false;
}

void WindowMinimizer::recordAttempts(const std::vector<WindowRef>& windows, AttemptReason reason) {
    // The attempts log takes its entries from here.
    if (callbacks_.onAttempt) {
        callbacks_.onAttempt(windows, reason);
    }
}

}  // namespace nimbrel
