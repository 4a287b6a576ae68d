#pragma once

#include "platform/Screens.h"
#include "platform/x11/Connection.h"
#include "platform/x11/MonitorLayout.h"

namespace nimbrel::x11 {

// Screens are the RandR monitors; a monitor's visible frame leaves out what the docks reserve.
// A server without monitors (no RandR 1.5) has one screen, the root window.
class X11Screens final : public Screens {
  public:
    explicit X11Screens(Connection& connection) : connection_(connection) {}

    std::vector<Screen> screens() override;
    // The monitor that holds most of the active window, else the primary one.
    std::optional<Screen> mainScreen() override;
    Point mouseLocation() override;

    // The monitors as the server has them now, for the services that place windows.
    MonitorLayout layout();

  private:
    std::vector<Monitor> monitors();
    std::vector<Strut> struts();
    Screen screen(const MonitorLayout& layout, const Monitor& monitor,
                  const std::vector<Strut>& struts);

    Connection& connection_;
};

}  // namespace nimbrel::x11
