#pragma once

#include <functional>
#include <string>
#include <vector>

namespace nimbrel::sim {

// What the program reports to the person at the desktop (notices, beeps, alerts, log lines,
// authentication answers), as event lines in the order they happen. The console prints them.
class SimEventLog {
  public:
    void emit(std::string line) {
        lines_.push_back(line);
        if (listener_) {
            listener_(lines_.back());
        }
    }
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }
    // Sees every line as it is emitted (the console prints through this).
    void setListener(std::function<void(const std::string&)> listener) {
        listener_ = std::move(listener);
    }

  private:
    std::vector<std::string> lines_;
    std::function<void(const std::string&)> listener_;
};

}  // namespace nimbrel::sim
