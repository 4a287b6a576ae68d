#pragma once

#include <cstdio>
#include <string>

#include "platform/Log.h"

namespace nimbrel::x11 {

// The log is the process's standard error, which the session keeps (the journal, or the session's
// error file) with its own time stamps. One write per line, so lines of other processes sharing
// the stream never cut into it.
class StreamLog final : public Log {
  public:
    explicit StreamLog(std::FILE* stream = stderr) : stream_(stream) {}
    void log(std::string_view line) override {
        std::string whole = "nimbrel: ";
        whole.append(line);
        whole.push_back('\n');
        std::fwrite(whole.data(), 1, whole.size(), stream_);
        std::fflush(stream_);
    }

  private:
    std::FILE* stream_;
};

}  // namespace nimbrel::x11
