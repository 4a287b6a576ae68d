#pragma once

#include <optional>

#include "platform/SystemNotifications.h"

namespace nimbrel::x11 {

// What the session's services report, as the program's events, once each. A lock is seen by
// several of them (the login manager's signal and its hint, the screen saver's activation), each
// in its own time: the first report of a change makes the event, the others repeat what is known.
class SessionEventFilter {
  public:
    enum class Report { locked, unlocked, sleeping, awake, poweringOff, powerOffCancelled };

    // The event a report makes; none when it tells nothing new.
    std::optional<SystemEvent> take(Report report);
    // The lock as it was before the program watched; a report that came first knows better.
    void lockedAtStart(bool locked);

  private:
    bool locked_ = false;
    bool lockReported_ = false;
    bool sleeping_ = false;
    bool poweringOff_ = false;
};

}  // namespace nimbrel::x11
