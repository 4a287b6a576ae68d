#pragma once

#include "platform/Workspace.h"
#include "platform/sim/SimWorld.h"

namespace nimbrel::sim {

// The workspace of the simulated desktop: running applications in launch order (the program
// itself included while it runs), the frontmost one, hiding and activation.
class SimWorkspace final : public Workspace {
  public:
    explicit SimWorkspace(SimWorld& world) : world_(world) {}
    SimWorkspace(const SimWorkspace&) = delete;
    SimWorkspace& operator=(const SimWorkspace&) = delete;

    std::vector<AppRef> runningApplications() override;
    std::optional<AppRef> frontmostApplication() override { return world_.frontmost(); }
    std::optional<AppRef> runningApplication(Pid pid) override;
    Pid ownProcessID() override { return world_.programPid(); }

    Pid processID(AppRef app) override;
    std::optional<std::string> bundleIdentifier(AppRef app) override;
    std::optional<std::string> localizedName(AppRef app) override;
    ActivationPolicy activationPolicy(AppRef app) override;
    bool isTerminated(AppRef app) override;
    bool isHidden(AppRef app) override;

    bool hide(AppRef app) override { return world_.hide(app); }
    bool unhide(AppRef app) override { return world_.unhide(app); }
    bool activate(AppRef app) override { return world_.activate(app); }

    Subscription observe(WorkspaceAppEvent event, std::function<void(AppRef)> handler) override {
        return world_.workspaceHandlers().add(event, std::move(handler));
    }

  private:
    SimWorld& world_;
};

}  // namespace nimbrel::sim
