#pragma once

#include "platform/Alerts.h"
#include "platform/x11/X11Screens.h"
#include "platform/x11/qt/QtMainLoop.h"

namespace nimbrel::x11 {

// The program's alerts as modal Qt dialogs. Not built yet: every alert ends without a button.
class QtAlerts final : public Alerts {
  public:
    QtAlerts(QtMainLoop& loop, X11Screens& screens) : loop_(loop), screens_(screens) {}

    AlertResponse runModal(const AlertRequest& request) override {
        AlertResponse response;
        for (const auto& field : request.fields) {
            response.texts.push_back(field.text);
        }
        return response;
    }

  private:
    [[maybe_unused]] QtMainLoop& loop_;
    [[maybe_unused]] X11Screens& screens_;
};

}  // namespace nimbrel::x11
