#pragma once

#include "platform/SystemNotifications.h"
#include "platform/sim/SimWorld.h"

namespace nimbrel::sim {

// Session and display notifications of the simulated desktop; the script posts them, and adding
// or removing a screen posts screenParametersChanged.
class SimSystemNotifications final : public SystemNotifications {
  public:
    explicit SimSystemNotifications(SimWorld& world) : world_(world) {}
    SimSystemNotifications(const SimSystemNotifications&) = delete;
    SimSystemNotifications& operator=(const SimSystemNotifications&) = delete;

    Subscription observe(SystemEvent event, std::function<void()> handler) override {
        return world_.systemHandlers().add(event, std::move(handler));
    }

  private:
    SimWorld& world_;
};

}  // namespace nimbrel::sim
