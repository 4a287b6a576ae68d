#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/CoverController.h"
#include "engine/Designations.h"
#include "engine/EngineObservers.h"
#include "engine/HiddenWindows.h"
#include "engine/Placement.h"
#include "engine/Summons.h"
#include "engine/WindowAccess.h"
#include "engine/WindowKey.h"
#include "engine/WindowRef.h"
#include "platform/Accessibility.h"
#include "platform/EventSource.h"
#include "platform/LifetimeGuard.h"
#include "platform/Localizer.h"
#include "platform/MainLoop.h"
#include "platform/Screens.h"
#include "platform/Workspace.h"
#include "settings/Uuid.h"
#include "settings/WindowBinding.h"

namespace nimbrel {

// Why an attempt to see a locked window goes into the attempts log.
enum class AttemptReason { authFailed, blockedWithoutAuth };

// Whether a hidden window comes back only after the user authenticates.
enum class Guard { unlocked, locked };

// How a window leaves the user's sight: moved beyond the screens or minimised, or covered where
// it stands.
enum class HideStyle { outOfSight, cover };

// Whether revealing asks for authentication only for guarded windows, or for every window.
enum class RevealAuth { asNeeded, always };

// Where a revealed window comes back: where it was, or moved onto the chosen screen.
enum class RevealPlace { whereItWas, onChosenScreen };

// Whether a locked window brought forward without a request goes into the attempts log.
enum class AttemptLog { record, quiet };

struct ResumeWindow {
    WindowKey key;
    bool locked = false;
    bool focus = false;
};

// The platform services the engine uses, and nothing more of the platform.
struct EngineServices {
    Accessibility& accessibility;
    Workspace& workspace;
    Screens& screens;
    // How long ago the user last clicked or typed.
    EventSource& eventSource;
    MainLoop& loop;
    const Localizer& strings;
};

// What the engine asks of the shell and tells it, given once at construction. The defaults stand
// for a shell with no settings and no designations; without a gate nothing guarded is revealed.
struct EngineCallbacks {
    std::function<bool()> instantHide = [] { return false; };
    std::function<bool(const WindowRef&)> isLockedDesignation = [](const WindowRef&) {
        return false;
    };
    std::function<bool(const WindowRef&)> isWholeAppDesignation = [](const WindowRef&) {
        return false;
    };
    std::function<void(const WindowRef&)> onRevealed;
    // A binding was matched by its title to a window whose number differs from the stored one.
    std::function<void(const Uuid& id, WindowNumber number)> onWindowNumberChanged;
    // Sees every attempt that goes into the attempts log.
    std::function<void(const std::vector<WindowRef>& windows, AttemptReason reason)> onAttempt;
    // The screen the notice-screen setting selects, if it selects one.
    std::function<std::optional<Screen>()> chosenScreen = [] { return std::optional<Screen>(); };
    // The gate for revealing guarded windows; answers once, on the main loop.
    std::function<void(const std::string& reason, std::function<void(bool)> completion)>
        authenticate;
};

// The one engine that takes other applications' windows out of sight and brings them back. It owns
// every record of what it hid; everything else asks it.
class WindowMinimizer {
  public:
    using Summon = SummonVerdict;

    using Callbacks = EngineCallbacks;

    explicit WindowMinimizer(EngineServices services, Callbacks callbacks = {});
    WindowMinimizer(const WindowMinimizer&) = delete;
    WindowMinimizer& operator=(const WindowMinimizer&) = delete;
    ~WindowMinimizer();

    // Hiding.
    bool hide(const WindowRef& window, Guard guard, HideStyle style);
    bool hideFocused(Guard guard, HideStyle style);
    bool isConcealed(const WindowRef& window);
    bool needsHide(const WindowRef& window, Guard wanted);

    // Revealing.
    void reveal(const std::vector<WindowRef>& windows, RevealAuth auth, RevealPlace place,
                std::function<void(bool)> completion);
    bool revealUnlocked(const std::vector<WindowRef>& windows, RevealPlace place);
    bool revealOne(const WindowRef& window, RevealPlace place);
    void restoreLast(std::function<void(bool)> completion);

    // Bookkeeping across the program's life.
    void prune();
    // Takes over the windows a former process left parked. A window in `lockedBefore` (one that
    // was locked when that process ended) is locked again, as a locked designation's window is.
    long adoptParked(const std::vector<WindowKey>& lockedBefore = {});
    // The locked windows, as the next process can find them again.
    std::vector<WindowKey> lockedKeys();
    std::vector<ResumeWindow> resumeWindows();
    std::optional<bool> resumeFocusLocked() const;
    long applyResume(const std::vector<ResumeWindow>& windows, std::optional<bool> focusLocked);
    void convertCoveredForRelaunch();
    void releaseAll();
    // The session ends the process and nobody can authenticate: the unlocked windows come back
    // minimised in their places, and the locked ones stay beyond the screens (a covered one is
    // parked there), for the next start to adopt.
    void releaseForSessionEnd();

    // Designated windows: the live windows a binding stands for, found again by element even when
    // their title or number changed.
    std::vector<WindowRef> windows(const WindowBinding& binding) {
        return designations_.windows(binding);
    }
    void designate(ElementRef element, const Uuid& id) { designations_.designate(element, id); }
    std::optional<Uuid> bindingID(ElementRef element) const {
        return designations_.bindingID(element);
    }

    // The screens the observers' notifications are judged against.
    bool screensChangedRecently() { return placement_.changedRecently(); }
    void reparkAfterScreenChange();

    // Whether a parked window that is about to get the focus was asked for by the user.
    Summon summon(SummonCause cause, bool hasOtherWindow) const {
        return summons_.decide(cause, hasOtherWindow);
    }
    // A locked window was brought forward: ask to unlock it, unless a prompt for its application
    // was declined moments ago and nobody has asked again since.
    void summonLocked(const WindowRef& window, AttemptLog log);

    void setCoverMessage(const std::string& message) { cover_->setMessage(message); }
    bool hasLocks() const { return hidden_.hasLocks(); }
    bool isLocked(ElementRef element) const { return hidden_.isLocked(element); }

    // Read-only views for the shell's lists and the console.
    const HiddenWindows& hidden() const { return hidden_; }
    const Summons& summons() const { return summons_; }
    const Designations& designations() const { return designations_; }
    const ScreenPlacement& placement() const { return placement_; }
    bool isAuthenticating() const { return isAuthenticating_; }
    std::size_t attemptCount() const { return attemptCount_; }
    CoverController& cover() { return *cover_; }
    WindowAccess& access() { return access_; }

  private:
    void coverInPlace(const WindowRef& window, Guard guard);
    // Parking or minimising a covered window takes the place of its cover.
    void dropCover(ElementRef element);
    bool park(const WindowRef& window, Guard guard, std::optional<Point> origin);
    bool minimize(const WindowRef& window, Guard guard, std::optional<Point> origin);
    void moveFocusAway(const WindowRef& window);

    // A lock that watches its window; the records alone know nothing of observers.
    void addLock(const Lock& lock);
    void removeLock(ElementRef element);

    // What the observers report.
    void handleNotification(Pid pid, ElementRef element, const std::string& notification);
    void handleFocusChange(Pid pid);
    void handleLockedWindow(ElementRef element, const std::string& notification);
    void handleActivation(AppRef app);
    void guardActivation(AppRef app);
    void handleParkedActivation(AppRef app);
    std::optional<WindowRef> parkedWindow(ElementRef element) const;
    // The application's focused window, when it is one of the engine's parked windows.
    std::optional<WindowRef> parkedFocusedWindow(ElementRef application);
    bool hasOtherWindow(ElementRef application, ElementRef except);
    // A locked window beyond the screens or minimised, not merely covered.
    std::optional<WindowRef> lockedOutOfSight(ElementRef element);
    // When the application's focused window is a locked one out of sight: moves the focus away,
    // and asks to unlock it when the user has just clicked or typed. True when it was one.
    bool guardLockedFocus(ElementRef application);
    void parkAgain(ElementRef element);

    // Locked summons.
    void askToUnlock(const WindowRef& window);
    bool hasVisibleUnlockedWindow(AppRef app);
    void recordAttempts(const std::vector<WindowRef>& windows, AttemptReason reason);

    EngineServices services_;
    Callbacks callbacks_;
    WindowAccess access_;
    MainLoop& loop_;
    ScreenPlacement placement_;
    Designations designations_;

    HiddenWindows hidden_;
    bool isAuthenticating_ = false;
    std::unique_ptr<CoverController> cover_;
    std::size_t attemptCount_ = 0;
    Summons summons_;
    EngineObservers observers_;

    Subscription activation_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
