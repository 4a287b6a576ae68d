#pragma once

#include <optional>

#include "platform/Alerts.h"
#include "platform/x11/X11Screens.h"
#include "platform/x11/qt/QtMainLoop.h"

namespace nimbrel::x11 {

// The program's alerts as modal Qt dialogs: the bold title, the message, the fields and a row of
// buttons with the first one, the default, on the right. The main loop is held while one is up,
// so the program's own work waits for the answer as it would for a blocking call.
class QtAlerts final : public Alerts {
  public:
    QtAlerts(QtMainLoop& loop, X11Screens& screens) : loop_(loop), screens_(screens) {}

    AlertResponse runModal(const AlertRequest& request) override;

    // Where an alert of this size goes, in screen space: centred on the main screen's visible
    // frame, a little above its middle, unless its centre would then lie off the requested
    // screen, which takes it instead. None without a screen to place it on.
    static std::optional<Rect> placement(Size alert, const std::optional<Screen>& main,
                                         const std::optional<Screen>& requested);

  private:
    QtMainLoop& loop_;
    X11Screens& screens_;
};

}  // namespace nimbrel::x11
