#pragma once

#include <string>
#include <utility>

namespace nimbrel::sim {

// The answer of a control-surface command: carried out, or why not (an unknown pid, a name taken).
// The console prints the reason as its error message.
struct SimResult {
    std::string error;

    bool ok() const { return error.empty(); }
    explicit operator bool() const { return ok(); }
    static SimResult done() { return {}; }
    static SimResult refused(std::string why) { return SimResult{std::move(why)}; }
};

}  // namespace nimbrel::sim
