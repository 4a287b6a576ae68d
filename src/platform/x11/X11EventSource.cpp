#include "platform/x11/X11EventSource.h"

#include <xcb/screensaver.h>
#include <xcb/xinput.h>

#include <algorithm>
#include <vector>

namespace nimbrel::x11 {
namespace {

constexpr std::uint32_t kLeftButton = 1;

}  // namespace

X11EventSource::X11EventSource(Connection& connection, EventHub& events, X11Screens& screens)
    : connection_(connection), screens_(screens) {
    xcb_connection_t* c = connection_.get();
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_input_id);
    if (extension != nullptr && extension->present != 0) {
        Reply<xcb_input_xi_query_version_reply_t> version(
            xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr));
        if (version && version->major_version >= 2) {
            xinputOpcode_ = extension->major_opcode;
            struct {
                xcb_input_event_mask_t head;
                std::uint32_t mask;
            } select{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
                     XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS |
                         XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE |
                         XCB_INPUT_XI_EVENT_MASK_RAW_MOTION};
            xcb_input_xi_select_events(c, connection_.root(), 1, &select.head);
            connection_.flush();
        }
    }
    subscription_ = events.subscribe([this](const xcb_generic_event_t& e) { handle(e); });
}

void X11EventSource::handle(const xcb_generic_event_t& event) {
    if (xinputOpcode_ == 0 || (event.response_type & 0x7f) != XCB_GE_GENERIC) {
        return;
    }
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension != xinputOpcode_) {
        return;
    }
    Clock::time_point now = Clock::now();
    switch (generic.event_type) {
        case XCB_INPUT_RAW_KEY_PRESS:
            last_[InputEventType::keyDown] = now;
            break;
        case XCB_INPUT_RAW_BUTTON_RELEASE: {
            const auto& raw = reinterpret_cast<const xcb_input_raw_button_release_event_t&>(event);
            if (raw.detail == kLeftButton) {
                last_[InputEventType::leftMouseUp] = now;
            }
            break;
        }
        case XCB_INPUT_RAW_MOTION: {
            last_[InputEventType::mouseMoved] = now;
            if (movedHandlers_.empty()) {
                break;
            }
            Point at = screens_.mouseLocation();
            // Gathered first: a handler may end its own subscription.
            std::vector<std::function<void(Point)>> handlers;
            for (const auto& [id, handler] : movedHandlers_) {
                handlers.push_back(handler);
            }
            for (const auto& handler : handlers) {
                handler(at);
            }
            break;
        }
        default:
            return;
    }
    last_[InputEventType::any] = now;
}

double X11EventSource::secondsSinceLastEvent(InputEventType type) {
    auto since = [](Clock::time_point then) {
        return std::chrono::duration<double>(Clock::now() - then).count();
    };
    double watched = since(started_);
    if (auto it = last_.find(type); it != last_.end()) {
        watched = since(it->second);
    }
    if (type != InputEventType::any) {
        return watched;
    }
    xcb_connection_t* c = connection_.get();
    Reply<xcb_screensaver_query_info_reply_t> info(xcb_screensaver_query_info_reply(
        c, xcb_screensaver_query_info(c, connection_.root()), nullptr));
    if (!info) {
        return watched;
    }
    // The server's count covers input from before the program started, and raw events that
    // arrived since; the more recent of the two is the answer.
    return std::min(watched, info->ms_since_user_input / 1000.0);
}

Subscription X11EventSource::observeMouseMoved(std::function<void(Point)> handler) {
    if (xinputOpcode_ == 0 || !handler) {
        return {};
    }
    std::uint64_t id = nextHandler_++;
    movedHandlers_.emplace(id, std::move(handler));
    return Subscription([this, id] { movedHandlers_.erase(id); });
}

}  // namespace nimbrel::x11
