#pragma once

#include "platform/Screens.h"
#include "platform/sim/SimWorld.h"

namespace nimbrel::sim {

// The screens in the platform's screen space: the desktop keeps them in accessibility space and
// flips them with the primary screen's height, as the real conversion does.
class SimScreens final : public Screens {
  public:
    explicit SimScreens(SimWorld& world) : world_(world) {}
    SimScreens(const SimScreens&) = delete;
    SimScreens& operator=(const SimScreens&) = delete;

    std::vector<Screen> screens() override;
    std::optional<Screen> mainScreen() override;
    Point mouseLocation() override { return world_.flip(world_.pointer()); }

  private:
    SimWorld& world_;
};

}  // namespace nimbrel::sim
