#pragma once

#include <string>

#include "platform/Log.h"
#include "platform/sim/SimEventLog.h"

namespace nimbrel::sim {

// Every log line is an event line "log LINE".
class SimLog final : public Log {
  public:
    explicit SimLog(SimEventLog& events) : events_(events) {}
    void log(std::string_view line) override { events_.emit("log " + std::string(line)); }

  private:
    SimEventLog& events_;
};

}  // namespace nimbrel::sim
