#pragma once

#include "platform/Application.h"
#include "platform/sim/SimWorld.h"

namespace nimbrel::sim {

// The program as an application of the simulated desktop. Without a running program the
// activation policy is only remembered, and activation does nothing.
class SimApplication final : public Application {
  public:
    explicit SimApplication(SimWorld& world) : world_(world) {}
    SimApplication(const SimApplication&) = delete;
    SimApplication& operator=(const SimApplication&) = delete;

    void setActivationPolicy(ActivationPolicy policy) override;
    ActivationPolicy activationPolicy() override;
    void activateIgnoringOtherApps() override;
    void replyToApplicationShouldTerminate(bool terminate) override {
        world_.replyToTermination(terminate);
    }

  private:
    SimWorld& world_;
    ActivationPolicy detached_ = ActivationPolicy::accessory;
};

}  // namespace nimbrel::sim
