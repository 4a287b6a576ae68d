#pragma once

#include "platform/WindowList.h"
#include "platform/sim/SimWorld.h"

namespace nimbrel::sim {

// The window server's list: every window that shows on some screen (not minimised, its
// application not hidden, overlapping a screen by any amount), front to back, all at layer 0.
class SimWindowList final : public WindowList {
  public:
    explicit SimWindowList(SimWorld& world) : world_(world) {}
    SimWindowList(const SimWindowList&) = delete;
    SimWindowList& operator=(const SimWindowList&) = delete;

    std::vector<WindowInfo> onScreenWindows() override;

  private:
    SimWorld& world_;
};

}  // namespace nimbrel::sim
