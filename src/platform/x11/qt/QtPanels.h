#pragma once

#include "platform/Panels.h"
#include "platform/x11/Connection.h"
#include "platform/x11/X11Screens.h"
#include "platform/x11/qt/QtTextMetrics.h"

namespace nimbrel::x11 {

// The program's panels as Qt windows. Not built yet: no panel can be made.
class QtPanels final : public Panels {
  public:
    QtPanels(Connection& connection, X11Screens& screens, QtTextMetrics& metrics)
        : connection_(connection), screens_(screens), metrics_(metrics) {}

    std::unique_ptr<Panel> makePanel(const PanelSpec&) override { return nullptr; }

  private:
    [[maybe_unused]] Connection& connection_;
    [[maybe_unused]] X11Screens& screens_;
    [[maybe_unused]] QtTextMetrics& metrics_;
};

}  // namespace nimbrel::x11
