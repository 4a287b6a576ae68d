#pragma once

#include "platform/SystemSettings.h"
#include "platform/sim/SimEventLog.h"

namespace nimbrel::sim {

// Opening a page of the system's settings is an event line.
class SimSystemSettings final : public SystemSettings {
  public:
    explicit SimSystemSettings(SimEventLog& events) : events_(events) {}
    bool openAccessibilityPane() override {
        events_.emit("open accessibility settings");
        return true;
    }

  private:
    SimEventLog& events_;
};

}  // namespace nimbrel::sim
