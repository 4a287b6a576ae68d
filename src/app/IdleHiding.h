#pragma once

#include <functional>

#include "engine/WindowMinimizer.h"
#include "platform/EventSource.h"
#include "settings/SettingsStore.h"

namespace nimbrel {

// Hides the bound windows once the user has been away for the set time, and locks the locked
// bindings' windows again that the user had unlocked. Each acts once per stretch of idleness: it
// is armed again only when a tick sees the user back.
class IdleHiding {
  public:
    struct Services {
        SettingsStore& store;
        WindowMinimizer& minimizer;
        EventSource& eventSource;
        std::function<void()> hideAllBound;
    };

    explicit IdleHiding(Services services) : services_(std::move(services)) {}
    IdleHiding(const IdleHiding&) = delete;
    IdleHiding& operator=(const IdleHiding&) = delete;

    // One periodic pass: idle hiding, then the relock.
    void tick();

  private:
    double idleSeconds();
    void relockShownWindows();

    Services services_;
    bool hiddenForIdle_ = false;
    bool relocked_ = false;
};

}  // namespace nimbrel
