#pragma once

#include <functional>

#include "platform/Subscription.h"

namespace nimbrel {

enum class SystemEvent {
    screenLocked,
    screenUnlocked,
    willSleep,
    screensDidSleep,
    willPowerOff,
    screenParametersChanged,
};

// Session and display notifications; handlers run on the main loop.
class SystemNotifications {
  public:
    virtual ~SystemNotifications() = default;
    virtual Subscription observe(SystemEvent event, std::function<void()> handler) = 0;
};

}  // namespace nimbrel
