#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <map>

#include "platform/Subscription.h"
#include "platform/x11/Connection.h"

namespace nimbrel::x11 {

// Hands the X events of the one connection to the services that asked for them. Whoever runs
// the event loop (the toolkit's native event filter, or a test) feeds every event to `dispatch`;
// the services never read events themselves, so the toolkit keeps its own.
class EventHub {
  public:
    using Handler = std::function<void(const xcb_generic_event_t&)>;

    explicit EventHub(Connection& connection) : connection_(connection) {}

    [[nodiscard]] Subscription subscribe(Handler handler);
    void dispatch(const xcb_generic_event_t& event);

    // Adds `mask` to the events the connection receives for `window`, keeping what it (or the
    // toolkit) selected before.
    void select(xcb_window_t window, std::uint32_t mask);

    // Runs every event waiting on the connection (for loops that own it, and tests).
    void drain();

  private:
    Connection& connection_;
    std::map<std::uint64_t, Handler> handlers_;
    std::uint64_t nextId_ = 1;
};

}  // namespace nimbrel::x11
