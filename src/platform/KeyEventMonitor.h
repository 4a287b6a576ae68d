#pragma once

#include <cstdint>
#include <functional>

#include "platform/Subscription.h"

namespace nimbrel {

// Modifier keys held during a key event, as the event reports them.
enum class EventModifier : std::uint32_t {
    capsLock = 1u << 16,
    shift = 1u << 17,
    control = 1u << 18,
    option = 1u << 19,
    command = 1u << 20,
    numericPad = 1u << 21,
    help = 1u << 22,
    function = 1u << 23,
};

using EventModifierFlags = std::uint32_t;

constexpr EventModifierFlags operator|(EventModifier a, EventModifier b) {
    return static_cast<EventModifierFlags>(a) | static_cast<EventModifierFlags>(b);
}
constexpr EventModifierFlags operator|(EventModifierFlags a, EventModifier b) {
    return a | static_cast<EventModifierFlags>(b);
}
constexpr bool hasModifier(EventModifierFlags flags, EventModifier m) {
    return (flags & static_cast<EventModifierFlags>(m)) != 0;
}

// A key going down in one of the program's own windows.
struct KeyEvent {
    std::uint32_t keyCode = 0;
    EventModifierFlags modifierFlags = 0;
    bool isRepeat = false;
};

// Key-down events addressed to the program's own windows, seen before the windows see them.
class KeyEventMonitor {
  public:
    // Answers true to consume the event (no window of the program receives it), false to pass it
    // on.
    using Handler = std::function<bool(const KeyEvent& event)>;

    virtual ~KeyEventMonitor() = default;
    // The monitor runs on the main loop until the subscription ends.
    virtual Subscription addLocalKeyDownMonitor(Handler handler) = 0;
};

}  // namespace nimbrel
