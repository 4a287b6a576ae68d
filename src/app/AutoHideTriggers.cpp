#include "app/AutoHideTriggers.h"

#include <vector>

namespace nimbrel {

AutoHideTriggers::AutoHideTriggers(const Services& services)
    : services_(services), screenCount_(static_cast<long>(services.screens.screens().size())) {}

void AutoHideTriggers::observeSystemEvents() {
    screensSubscription_ = services_.notifications.observe(
        SystemEvent::screenParametersChanged, guard_.wrap([this] { screenParametersChanged(); }));
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
