#pragma once

#include "platform/WindowList.h"
#include "platform/Workspace.h"
#include "platform/x11/ClientWindows.h"
#include "platform/x11/X11Screens.h"

namespace nimbrel::x11 {

// The window server's list on X: the managed windows that are mapped and not iconified, front to
// back, with their frames in accessibility space. Docks, desktops and notices stand on a layer of
// their own above 0, as such windows do on every desktop.
class X11WindowList final : public WindowList {
  public:
    X11WindowList(Connection& connection, X11Screens& screens, Workspace& workspace)
        : windows_(connection), screens_(screens), workspace_(workspace) {}

    std::vector<WindowInfo> onScreenWindows() override;

  private:
    ClientWindows windows_;
    X11Screens& screens_;
    Workspace& workspace_;
};

}  // namespace nimbrel::x11
