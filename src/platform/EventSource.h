#pragma once

namespace nimbrel {

enum class InputEventType { any, leftMouseUp, keyDown, mouseMoved };

// The user's input activity as the session sees it.
class EventSource {
public:
    virtual ~EventSource() = default;
    virtual double secondsSinceLastEvent(InputEventType type) = 0;
};

}  // namespace nimbrel
