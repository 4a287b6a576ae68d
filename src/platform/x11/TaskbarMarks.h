#pragma once

#include "platform/x11/ClientWindows.h"
#include "platform/x11/MonitorLayout.h"

namespace nimbrel::x11 {

// A window parked beyond the screens is out of sight, but its title would stay in the taskbar and
// the pager. While it is parked both skip it; when it comes back it gets back exactly the marks it
// had. What it had is kept in a property of the window itself, so that a later run of the program
// (after a crash) gives it back too.
class TaskbarMarks {
  public:
    TaskbarMarks(Connection& connection, ClientWindows& windows)
        : connection_(connection), windows_(windows) {}

    // Before a move: `parking` when the window is about to leave every monitor.
    void beforeMove(const ClientWindow& window, bool parking);

    // Gives the marks back to every window in sight that still carries saved ones: a run of the
    // program that ended between marking a window and parking it left it on screen without them.
    void restoreInSight(const MonitorLayout& layout);

  private:
    Connection& connection_;
    ClientWindows& windows_;
};

}  // namespace nimbrel::x11
