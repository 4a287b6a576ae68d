#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/KeyEventMonitor.h"

namespace nimbrel::sim {

// Local key-down monitors of the program. The desktop hands them the key-down events that reach
// one of the program's own windows, before the window itself sees them.
class SimKeyMonitor final : public KeyEventMonitor {
  public:
    SimKeyMonitor();
    SimKeyMonitor(const SimKeyMonitor&) = delete;
    SimKeyMonitor& operator=(const SimKeyMonitor&) = delete;
    ~SimKeyMonitor() override;

    Subscription addLocalKeyDownMonitor(Handler handler) override;

    // Runs the monitors in the order they were added; true when one consumed the event (then the
    // later monitors and the window do not see it).
    bool deliverKeyDown(const KeyEvent& event);
    std::size_t monitorCount() const { return monitors_->size(); }

  private:
    std::shared_ptr<std::map<std::uint64_t, Handler>> monitors_;
    std::uint64_t next_ = 1;
};

}  // namespace nimbrel::sim
