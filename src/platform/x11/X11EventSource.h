#pragma once

#include <chrono>
#include <functional>
#include <map>

#include "platform/EventSource.h"
#include "platform/x11/EventHub.h"
#include "platform/x11/X11Screens.h"

namespace nimbrel::x11 {

// The user's input as the X server sees it. Time since any input comes from the screen-saver
// extension, which counts from before the program started; the time since a key press, a left
// click or a pointer move comes from XInput 2 raw events, which every client may watch on the
// root window. Until the first of a kind arrives, that kind counts from when watching began.
class X11EventSource final : public EventSource {
  public:
    X11EventSource(Connection& connection, EventHub& events, X11Screens& screens);

    double secondsSinceLastEvent(InputEventType type) override;
    Subscription observeMouseMoved(std::function<void(Point)> handler) override;

    // Whether the server has XInput 2; without it only the time since any input is known.
    bool watchesRawInput() const { return xinputOpcode_ != 0; }

  private:
    using Clock = std::chrono::steady_clock;
    void handle(const xcb_generic_event_t& event);

    Connection& connection_;
    X11Screens& screens_;
    std::uint8_t xinputOpcode_ = 0;
    Clock::time_point started_ = Clock::now();
    std::map<InputEventType, Clock::time_point> last_;
    std::map<std::uint64_t, std::function<void(Point)>> movedHandlers_;
    std::uint64_t nextHandler_ = 1;
    Subscription subscription_;
};

}  // namespace nimbrel::x11
