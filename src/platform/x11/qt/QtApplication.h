#pragma once

#include <functional>

#include "platform/Application.h"

namespace nimbrel::x11 {

// The program as a desktop application. X has no Dock: a regular application differs from an
// accessory one only by what the program shows of itself, so the policy is kept as asked.
class QtApplication final : public Application {
  public:
    void setActivationPolicy(ActivationPolicy policy) override { policy_ = policy; }
    ActivationPolicy activationPolicy() override { return policy_; }
    // Raises the program's visible windows and asks the window manager to focus the front one.
    void activateIgnoringOtherApps() override;
    void replyToApplicationShouldTerminate(bool terminate) override {
        if (onTerminateReply) {
            onTerminateReply(terminate);
        }
    }

    // The process entry ends the process on a granted deferred termination.
    std::function<void(bool terminate)> onTerminateReply;

  private:
    ActivationPolicy policy_ = ActivationPolicy::regular;
};

}  // namespace nimbrel::x11
