#include "app/IdleHiding.h"

#include <vector>

namespace nimbrel {

namespace {
constexpr double kSecondsPerMinute = 60;
}  // namespace

double IdleHiding::idleSeconds() {
    return services_.eventSource.secondsSinceLastEvent(InputEventType::any);
}

void IdleHiding::tick() {
    SettingsStore& store = services_.store;
    long long idleMinutes = store.idleMinutes().get();
    // With nothing bound there is nothing to hide, and the episode is neither spent nor ended.
    if (idleMinutes > 0 && !store.bindings().get().empty()) {
        if (idleSeconds() >= double(idleMinutes) * kSecondsPerMinute) {
            if (!hiddenForIdle_) {
                hiddenForIdle_ = true;
                services_.hideAllBound();
            }
        } else {
            hiddenForIdle_ = false;
        }
    }

    long long relockMinutes = store.relockMinutes().get();
    if (relockMinutes > 0) {
        if (idleSeconds() >= double(relockMinutes) * kSecondsPerMinute) {
            if (!relocked_) {
                relocked_ = true;
                relockShownWindows();
            }
        } else {
            relocked_ = false;
        }
    }
}

void IdleHiding::relockShownWindows() {
    WindowMinimizer& minimizer = services_.minimizer;
    HideStyle style = services_.store.useCover().get() ? HideStyle::cover : HideStyle::outOfSight;
    // A copy: resolving a binding may report a new window number, which rewrites the store's list.
    const std::vector<WindowBinding> bindings = services_.store.bindings().get();
    for (const auto& binding : bindings) {
        if (!binding.locked) {
            continue;
        }
        for (const auto& window : minimizer.windows(binding)) {
            if (!minimizer.isConcealed(window)) {
                minimizer.hide(window, Guard::locked, style);
            }
        }
    }
}

}  // namespace nimbrel
