#pragma once

#include <functional>

#include "platform/Geometry.h"
#include "platform/Subscription.h"

namespace nimbrel {

enum class InputEventType { any, leftMouseUp, keyDown, mouseMoved };

// The user's input activity as the session sees it.
class EventSource {
  public:
    virtual ~EventSource() = default;
    virtual double secondsSinceLastEvent(InputEventType type) = 0;

    // A global monitor of mouse-moved events anywhere on the desktop (other applications' too).
    // The handler runs on the main loop with the pointer's location in screen space (bottom-left
    // origin) until the subscription ends. An implementation without such a monitor answers an
    // inactive subscription and never calls the handler.
    virtual Subscription observeMouseMoved(std::function<void(Point)> handler) {
        (void)handler;
        return {};
    }
};

}  // namespace nimbrel
