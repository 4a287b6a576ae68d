#pragma once

#include "platform/Sound.h"
#include "platform/sim/SimEventLog.h"

namespace nimbrel::sim {

// The system beep is an event line.
class SimSound final : public Sound {
  public:
    explicit SimSound(SimEventLog& events) : events_(events) {}
    void beep() override { events_.emit("beep"); }

  private:
    SimEventLog& events_;
};

}  // namespace nimbrel::sim
