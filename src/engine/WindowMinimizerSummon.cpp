// Acting on summons: keeping the focus out of a locked window out of sight, and asking to unlock
// a locked window that was brought forward. Telling requests from happenings is Summons' part.

#include "engine/WindowMinimizer.h"

namespace nimbrel {

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
    if (summons_.hasFreshInput(InputKind::clicksAndKeys)) {
        summonLocked(*window, AttemptLog::quiet);
    }
    return true;
}

void WindowMinimizer::summonLocked(const WindowRef& window, AttemptLog log) {
    Workspace& workspace = services_.workspace;
    if (summons_.mayAsk(workspace.processID(window.app))) {
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
                   summons_.noteDeclined(pid);
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
