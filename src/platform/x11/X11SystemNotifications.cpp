#include "platform/x11/X11SystemNotifications.h"

#include <xcb/randr.h>

namespace nimbrel::x11 {

X11SystemNotifications::X11SystemNotifications(Connection& connection, EventHub& events,
                                               MainLoop& loop)
    : connection_(connection), loop_(loop), workArea_(connection.atom("_NET_WORKAREA")) {
    xcb_connection_t* c = connection_.get();
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
    if (randr != nullptr && randr->present != 0) {
        randrFirstEvent_ = randr->first_event;
        xcb_randr_select_input(c, connection_.root(),
                               XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
    }
    events.select(connection_.root(), XCB_EVENT_MASK_PROPERTY_CHANGE);
    connection_.flush();
    subscription_ = events.subscribe([this](const xcb_generic_event_t& e) { handle(e); });
}

Subscription X11SystemNotifications::observe(SystemEvent event, std::function<void()> handler) {
    std::uint64_t id = nextId_++;
    handlers_.emplace(id, std::make_pair(event, std::move(handler)));
    return Subscription([this, id] { handlers_.erase(id); });
}

void X11SystemNotifications::notify(SystemEvent event) {
    // A handler may end its own or another subscription while this runs.
    std::vector<std::uint64_t> ids;
    for (const auto& [id, entry] : handlers_) {
        if (entry.first == event) {
            ids.push_back(id);
        }
    }
    for (auto id : ids) {
        auto found = handlers_.find(id);
        if (found != handlers_.end()) {
            auto handler = found->second.second;
            handler();
        }
    }
}

void X11SystemNotifications::handle(const xcb_generic_event_t& event) {
    std::uint8_t type = event.response_type & 0x7f;
    bool randr =
        randrFirstEvent_ != 0 && (type == randrFirstEvent_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
                                  type == randrFirstEvent_ + XCB_RANDR_NOTIFY);
    bool workArea = false;
    if (type == XCB_PROPERTY_NOTIFY) {
        const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        workArea = property.window == connection_.root() && property.atom == workArea_;
    }
    if (randr || workArea) {
        screensChanged();
    }
}

void X11SystemNotifications::screensChanged() {
    if (screensChangePending_) {
        return;
    }
    screensChangePending_ = true;
    loop_.post(guard_.wrap([this] {
        screensChangePending_ = false;
        notify(SystemEvent::screenParametersChanged);
    }));
}

}  // namespace nimbrel::x11
