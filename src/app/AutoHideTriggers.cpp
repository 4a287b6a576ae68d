#include "app/AutoHideTriggers.h"

#include <string>
#include <utility>
#include <vector>

namespace nimbrel {

AutoHideTriggers::AutoHideTriggers(const Services& services, TriggerHooks hooks)
    : services_(services),
      hooks_(std::move(hooks)),
      idle_({services.store, services.minimizer, services.eventSource, hideAllQuietly()}),
      hotCorner_({services.store, services.screens, services.eventSource, services.loop,
                  hideAllQuietly()}),
      keywords_({services.store, services.minimizer, services.lookup, services.folding}),
      screenCount_(static_cast<long>(services.screens.screens().size())) {}

std::function<void()> AutoHideTriggers::hideAllQuietly() {
    return guard_.wrap([this] { hideAllBound(false); });
}

void AutoHideTriggers::observeSystemEvents() {
    SystemNotifications& notifications = services_.notifications;
    auto lockHide = [this](std::string_view reason) {
        return guard_.wrap([this, reason] { screenLockHide(reason); });
    };
    subscriptions_.push_back(notifications.observe(
        SystemEvent::screenParametersChanged, guard_.wrap([this] { screenParametersChanged(); })));
    subscriptions_.push_back(notifications.observe(SystemEvent::screenLocked, lockHide("lock")));
    subscriptions_.push_back(notifications.observe(SystemEvent::willSleep, lockHide("sleep")));
    subscriptions_.push_back(
        notifications.observe(SystemEvent::screensDidSleep, lockHide("screensSleep")));
    subscriptions_.push_back(notifications.observe(SystemEvent::screenUnlocked,
                                                   guard_.wrap([this] { screenUnlocked(); })));
}

void AutoHideTriggers::startTicking() {
    idleTimer_ = Timer(services_.loop, kTickSeconds, true, guard_.wrap([this] { autoHideTick(); }));
}

AutoHideTriggers::HideCounts AutoHideTriggers::hideAllBound(bool beep) {
    SettingsStore& store = services_.store;
    WindowMinimizer& minimizer = services_.minimizer;
    HideCounts counts;
    HideStyle style = store.useCover().get() ? HideStyle::cover : HideStyle::outOfSight;
    // A copy: resolving a binding may report a new window number, which rewrites the store's list.
    const std::vector<WindowBinding> bindings = store.bindings().get();
    for (const auto& binding : bindings) {
        Guard guard = binding.locked ? Guard::locked : Guard::unlocked;
        for (const auto& window : minimizer.windows(binding)) {
            if (!minimizer.needsHide(window, guard)) {
                continue;
            }
            ++counts.found;
            if (minimizer.hide(window, guard, style)) {
                ++counts.hidden;
            }
        }
    }
    if (beep && counts.hidden == 0) {
        services_.sound.beep();
    }
    return counts;
}

void AutoHideTriggers::applyTriggerSettings() {
    if (hooks_.applyAppearSetting) {
        hooks_.applyAppearSetting();
    }
    hotCorner_.apply();
    applyLockKey();
}

void AutoHideTriggers::applyLockKey() {
    if (!hooks_.switchLockKey) {
        return;
    }
    // Asked again on every tick, so the key follows a permission that is granted later.
    bool wanted =
        services_.store.autoHideOnLock().get() && services_.accessibility.isProcessTrusted();
    bool on = hooks_.isLockKeyOn && hooks_.isLockKeyOn();
    if (wanted != on) {
        hooks_.switchLockKey(wanted);
    }
}

void AutoHideTriggers::autoHideTick() {
    idle_.tick();
    hideOnScreenShare();
    keywords_.tick();
    if (hooks_.runAppearPass) {
        hooks_.runAppearPass();
    }
    if (hooks_.checkMissingWindows) {
        hooks_.checkMissingWindows();
    }
    applyLockKey();
    if (hooks_.reapplyFocusMode && services_.minimizer.hidden().focusActive()) {
        hooks_.reapplyFocusMode();
    }
}

void AutoHideTriggers::hideOnScreenShare() {
    if (!services_.store.autoHideOnScreenShare().get()) {
        screenShareHidden_ = false;
        return;
    }
    if (!services_.screenShare.isScreenSharing()) {
        screenShareHidden_ = false;
    } else if (!screenShareHidden_) {
        screenShareHidden_ = true;
        hideAllBound(false);
    }
}

void AutoHideTriggers::logCounts(std::string_view reason, const HideCounts& counts) {
    services_.log.log(std::string(reason) + ": hid " + std::to_string(counts.hidden) + "/" +
                      std::to_string(counts.found));
}

void AutoHideTriggers::screenLockHide(std::string_view reason) {
    if (!services_.store.autoHideOnLock().get()) {
        return;
    }
    logCounts(reason, hideAllBound(false));
}

void AutoHideTriggers::screenUnlocked() {
    if (!services_.store.autoHideOnLock().get()) {
        return;
    }
    TimePoint unlockedAt = services_.loop.now();
    logCounts("unlock", hideAllBound(false));
    // A newer unlock replaces a pass still waiting, since its own first pass has just run.
    unlockPass_ =
        Timer(services_.loop, kUnlockSecondPassSeconds, false, guard_.wrap([this, unlockedAt] {
            // Whatever the user revealed since the unlock stays in sight.
            if (revealedAt_ >= unlockedAt) {
                return;
            }
            HideCounts counts = hideAllBound(false);
            if (counts.found > 0) {
                logCounts("unlock+1s", counts);
            }
        }));
}

void AutoHideTriggers::screenParametersChanged() {
    services_.minimizer.reparkAfterScreenChange();
    long count = static_cast<long>(services_.screens.screens().size());
    if (services_.store.autoHideOnMonitorChange().get() && count != screenCount_) {
        hideAllBound(false);
    }
    // Also when the trigger is off, so that turning it on later does not fire on an old change.
    screenCount_ = count;
}

}  // namespace nimbrel
