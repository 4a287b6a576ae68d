#pragma once

#include <string_view>

namespace nimbrel {

// The program's one diagnostic channel (automatic hiding and the lock key), at the default level.
class Log {
  public:
    virtual ~Log() = default;
    virtual void log(std::string_view line) = 0;
};

}  // namespace nimbrel
