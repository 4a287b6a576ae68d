#include "platform/x11/EventHub.h"

#include <vector>

namespace nimbrel::x11 {

Subscription EventHub::subscribe(Handler handler) {
    std::uint64_t id = nextId_++;
    handlers_.emplace(id, std::move(handler));
    return Subscription([this, id] { handlers_.erase(id); });
}

void EventHub::dispatch(const xcb_generic_event_t& event) {
    // A handler may subscribe or cancel while it runs; the ones present at the start all hear it.
    std::vector<std::uint64_t> ids;
    for (const auto& [id, handler] : handlers_) {
        ids.push_back(id);
    }
    for (std::uint64_t id : ids) {
        if (auto it = handlers_.find(id); it != handlers_.end()) {
            Handler handler = it->second;
            handler(event);
        }
    }
}

void EventHub::select(xcb_window_t window, std::uint32_t mask) {
    xcb_connection_t* c = connection_.get();
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    if (!attributes || (attributes->your_event_mask & mask) == mask) {
        return;
    }
    std::uint32_t combined = attributes->your_event_mask | mask;
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &combined);
    connection_.flush();
}

void EventHub::drain() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_.get())) {
        dispatch(*event);
        std::free(event);
    }
}

}  // namespace nimbrel::x11
