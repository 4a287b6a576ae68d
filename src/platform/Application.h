#pragma once

#include "platform/Workspace.h"

namespace nimbrel {

// This program as an application of the desktop.
class Application {
  public:
    virtual ~Application() = default;

    virtual void setActivationPolicy(ActivationPolicy policy) = 0;
    virtual ActivationPolicy activationPolicy() = 0;
    // Brings the program to the front even when another application is active.
    virtual void activateIgnoringOtherApps() = 0;
    // Answers a termination that the program deferred: true terminates, false cancels the quit.
    virtual void replyToApplicationShouldTerminate(bool terminate) = 0;
};

}  // namespace nimbrel
