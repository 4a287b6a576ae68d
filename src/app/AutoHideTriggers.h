#pragma once

#include <functional>
#include <string_view>

#include "app/BindingLookup.h"
#include "app/HotCornerTrigger.h"
#include "app/IdleHiding.h"
#include "app/KeywordHiding.h"
#include "app/screenshare/ScreenShareDetector.h"
#include "engine/WindowMinimizer.h"
#include "platform/Accessibility.h"
#include "platform/EventSource.h"
#include "platform/LifetimeGuard.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/Screens.h"
#include "platform/Sound.h"
#include "platform/Subscription.h"
#include "platform/SystemNotifications.h"
#include "platform/UnicodeText.h"
#include "settings/SettingsStore.h"

namespace nimbrel {

// What the periodic tick and the trigger settings drive in components of their own. Each hook
// may be left empty; its step then does nothing.
struct TriggerHooks {
    // The hide-when-appears setting may have changed.
    std::function<void()> applyAppearSetting;
    std::function<void()> runAppearPass;
    std::function<void()> checkMissingWindows;
    // The lock key's state, and switching it.
    std::function<bool()> isLockKeyOn;
    std::function<void(bool on)> switchLockKey;
    // Focus mode is on: hide what appeared since outside the allowed applications.
    std::function<void()> reapplyFocusMode;
};

// The events on which the program hides the bound windows by itself, because someone else may be
// about to see the screen, and the periodic tick that also drives the other passes. Each trigger
// reads the settings at the moment it runs, and every one of them ends in `hideAllBound`.
class AutoHideTriggers {
  public:
    static constexpr double kTickSeconds = 5.0;
    // Windows that the system brings back while the screen unlocks are caught by a second pass.
    static constexpr double kUnlockSecondPassSeconds = 1.0;

    struct Services {
        SettingsStore& store;
        WindowMinimizer& minimizer;
        BindingLookup& lookup;
        ScreenShareDetector& screenShare;
        Accessibility& accessibility;
        Screens& screens;
        EventSource& eventSource;
        SystemNotifications& notifications;
        Sound& sound;
        Log& log;
        MainLoop& loop;
        // How titles are compared with the keywords.
        CaseFolding folding = CaseFolding::standard;
    };

    // What one pass of `hideAllBound` saw.
    struct HideCounts {
        long found = 0;  // windows that needed hiding
        long hidden = 0;
    };

    // Takes the screen count that the first screen change is compared with.
    AutoHideTriggers(const Services& services, TriggerHooks hooks = {});
    AutoHideTriggers(const AutoHideTriggers&) = delete;
    AutoHideTriggers& operator=(const AutoHideTriggers&) = delete;

    // Starts listening to the system events that trigger hiding.
    void observeSystemEvents();
    // Starts the periodic tick, for the life of the triggers.
    void startTicking();

    // Hides every window of every binding that still needs it, locked as its binding says. With
    // `beep`, finding nothing to hide answers with the system beep.
    HideCounts hideAllBound(bool beep);

    // The trigger settings changed (and once at launch).
    void applyTriggerSettings();
    // The periodic pass, in this order: idle hiding, idle relock, screen sharing, title keywords,
    // then the hooks' passes.
    void autoHideTick();
    void checkHotCorner() { hotCorner_.check(); }
    // The screen locked or the machine is going to sleep; the reason names which in the log.
    void screenLockHide(std::string_view reason);
    void screenUnlocked();
    // The screen configuration changed: the engine re-parks, and the monitor trigger may hide.
    void screenParametersChanged();

    // A hidden window came back into sight.
    void noteRevealed() { revealedAt_ = services_.loop.now(); }
    TimePoint revealedAt() const { return revealedAt_; }

    bool isWatchingHotCorner() const { return hotCorner_.isWatching(); }

  private:
    void hideOnScreenShare();
    void applyLockKey();
    void logCounts(std::string_view reason, const HideCounts& counts);
    std::function<void()> hideAllQuietly();

    Services services_;
    TriggerHooks hooks_;
    // Before the collaborators, which are handed closures made from it.
    LifetimeGuard guard_;
    IdleHiding idle_;
    HotCornerTrigger hotCorner_;
    KeywordHiding keywords_;
    long screenCount_ = 0;
    bool screenShareHidden_ = false;
    TimePoint revealedAt_ = kDistantPast;
    Timer idleTimer_;
    Timer unlockPass_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace nimbrel
