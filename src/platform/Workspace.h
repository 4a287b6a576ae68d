#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "platform/Subscription.h"

namespace nimbrel {

enum class ActivationPolicy { regular = 0, accessory = 1, prohibited = 2 };

enum class WorkspaceAppEvent { didLaunch, didActivate, didTerminate };

// The running applications of the desktop, as the window manager and process table see them.
// Every query about a terminated application still answers (its last name, terminated = true).
class Workspace {
  public:
    virtual ~Workspace() = default;

    // In launch order.
    virtual std::vector<AppRef> runningApplications() = 0;
    virtual std::optional<AppRef> frontmostApplication() = 0;
    virtual std::optional<AppRef> runningApplication(Pid pid) = 0;
    // This program's own process id.
    virtual Pid ownProcessID() = 0;

    virtual Pid processID(AppRef app) = 0;
    virtual std::optional<std::string> bundleIdentifier(AppRef app) = 0;
    virtual std::optional<std::string> localizedName(AppRef app) = 0;
    virtual ActivationPolicy activationPolicy(AppRef app) = 0;
    virtual bool isTerminated(AppRef app) = 0;
    virtual bool isHidden(AppRef app) = 0;

    virtual bool hide(AppRef app) = 0;
    virtual bool unhide(AppRef app) = 0;
    virtual bool activate(AppRef app) = 0;

    // Delivered on the main loop.
    virtual Subscription observe(WorkspaceAppEvent event, std::function<void(AppRef)> handler) = 0;
};

}  // namespace nimbrel
