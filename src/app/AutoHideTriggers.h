#pragma once

#include "engine/WindowMinimizer.h"
#include "platform/LifetimeGuard.h"
#include "platform/MainLoop.h"
#include "platform/Screens.h"
#include "platform/Sound.h"
#include "platform/Subscription.h"
#include "platform/SystemNotifications.h"
#include "settings/SettingsStore.h"

namespace nimbrel {

// The events on which the program hides the bound windows by itself, because someone else may be
// about to see the screen. Each trigger reads the settings at the moment it runs, and every one of
// them ends in `hideAllBound`.
class AutoHideTriggers {
  public:
    struct Services {
        SettingsStore& store;
        WindowMinimizer& minimizer;
        Screens& screens;
        SystemNotifications& notifications;
        Sound& sound;
        MainLoop& loop;
    };

    // What one pass of `hideAllBound` saw.
    struct HideCounts {
        long found = 0;  // windows that needed hiding
        long hidden = 0;
    };

    // Takes the screen count that the first screen change is compared with.
    explicit AutoHideTriggers(const Services& services);
    AutoHideTriggers(const AutoHideTriggers&) = delete;
    AutoHideTriggers& operator=(const AutoHideTriggers&) = delete;

    // Starts listening to the system events that trigger hiding.
    void observeSystemEvents();

    // Hides every window of every binding that still needs it, locked as its binding says. With
    // `beep`, finding nothing to hide answers with the system beep.
    HideCounts hideAllBound(bool beep);

    // The screen configuration changed: the engine re-parks, and the monitor trigger may hide.
    void screenParametersChanged();

    // A hidden window came back into sight.
    void noteRevealed() { revealedAt_ = services_.loop.now(); }
    TimePoint revealedAt() const { return revealedAt_; }

  private:
    Services services_;
    long screenCount_ = 0;
    TimePoint revealedAt_ = kDistantPast;
    Subscription screensSubscription_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
