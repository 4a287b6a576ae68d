#include "platform/x11/X11Observers.h"

#include <algorithm>

#include "platform/AccessibilityNames.h"
#include "platform/x11/Elements.h"

namespace nimbrel::x11 {
namespace {

constexpr std::uint32_t kWindowEvents =
    XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;

// The notifications each kind of element can give.
bool windowNotification(std::string_view n) {
    return n == ax::notification::kWindowMoved || n == ax::notification::kWindowResized ||
           n == ax::notification::kWindowMiniaturized ||
           n == ax::notification::kWindowDeminiaturized || n == ax::notification::kTitleChanged ||
           n == ax::notification::kElementDestroyed;
}

bool applicationNotification(std::string_view n) {
    return windowNotification(n) || n == ax::notification::kWindowCreated ||
           n == ax::notification::kFocusedWindowChanged ||
           n == ax::notification::kMainWindowChanged;
}

}  // namespace

X11Observers::X11Observers(Connection& connection, EventHub& events, ClientWindows& windows)
    : connection_(connection), events_(events), windows_(windows) {
    subscription_ = events_.subscribe([this](const xcb_generic_event_t& e) { handle(e); });
}

ObserverRef X11Observers::create(Pid pid, AXObserverCallback callback) {
    if (pid <= 0 || !callback) {
        return {};
    }
    std::uint64_t id = nextId_++;
    observers_.emplace(id, Observer{pid, std::move(callback), {}});
    return ObserverRef{id};
}

void X11Observers::watch(xcb_window_t window) {
    if (seen_.count(window) != 0) {
        return;
    }
    auto read = windows_.read(window);
    if (!read) {
        return;
    }
    events_.select(window, kWindowEvents);
    seen_.emplace(window, Seen{read->frame, read->iconic, read->title, read->pid});
}

AXError X11Observers::add(ObserverRef observer, ElementRef element, std::string_view notification) {
    auto it = observers_.find(observer.id);
    if (it == observers_.end()) {
        return AXError::invalidElement;
    }
    ElementTarget t = elements::target(element);
    if (t.kind == ElementTarget::Kind::window) {
        if (!windowNotification(notification)) {
            return AXError::notImplemented;
        }
        if (!windows_.read(t.window)) {
            return AXError::invalidElement;
        }
        watch(t.window);
    } else if (t.kind == ElementTarget::Kind::application) {
        if (!applicationNotification(notification) || t.pid != it->second.pid) {
            return AXError::illegalArgument;
        }
        for (const ClientWindow& w : windows_.ofProcess(t.pid)) {
            watch(w.id);
        }
    } else {
        return AXError::illegalArgument;
    }
    if (!rootSelected_) {
        events_.select(connection_.root(), XCB_EVENT_MASK_PROPERTY_CHANGE);
        clients_ = windows_.list();
        active_ = windows_.active();
        rootSelected_ = true;
    }
    it->second.registrations.emplace(element.id, std::string(notification));
    return AXError::success;
}

AXError X11Observers::remove(ObserverRef observer, ElementRef element,
                             std::string_view notification) {
    auto it = observers_.find(observer.id);
    if (it == observers_.end()) {
        return AXError::invalidElement;
    }
    auto& registrations = it->second.registrations;
    auto found = registrations.find(std::make_pair(element.id, std::string(notification)));
    if (found == registrations.end()) {
        return AXError::failure;
    }
    registrations.erase(found);
    return AXError::success;
}

void X11Observers::destroy(ObserverRef observer) {
    observers_.erase(observer.id);
}

void X11Observers::post(Pid pid, ElementRef element, std::string_view notification) {
    ElementRef application = elements::application(pid);
    // Gathered first: a callback may add, remove or destroy observers.
    std::vector<AXObserverCallback> callbacks;
    for (const auto& [id, observer] : observers_) {
        const auto& r = observer.registrations;
        std::string name(notification);
        if (r.count({element.id, name}) != 0 ||
            (pid == observer.pid && r.count({application.id, name}) != 0)) {
            callbacks.push_back(observer.callback);
        }
    }
    for (const auto& callback : callbacks) {
        callback(element, std::string(notification));
    }
}

void X11Observers::windowChanged(xcb_window_t window, bool destroyed) {
    auto it = seen_.find(window);
    if (it == seen_.end()) {
        return;
    }
    ElementRef element = elements::window(window);
    Seen before = it->second;
    auto read = destroyed ? std::nullopt : windows_.read(window);
    if (!read) {
        seen_.erase(it);
        post(before.pid, element, ax::notification::kElementDestroyed);
        return;
    }
    it->second = Seen{read->frame, read->iconic, read->title, read->pid};
    if (read->iconic != before.iconic) {
        post(before.pid, element,
             read->iconic ? ax::notification::kWindowMiniaturized
                          : ax::notification::kWindowDeminiaturized);
    }
    if (read->frame.origin() != before.frame.origin()) {
        post(before.pid, element, ax::notification::kWindowMoved);
    }
    if (read->frame.size() != before.frame.size()) {
        post(before.pid, element, ax::notification::kWindowResized);
    }
    if (read->title != before.title) {
        post(before.pid, element, ax::notification::kTitleChanged);
    }
}

void X11Observers::rootChanged(xcb_atom_t property) {
    if (property == connection_.atom("_NET_ACTIVE_WINDOW")) {
        xcb_window_t active = windows_.active();
        if (active == active_) {
            return;
        }
        active_ = active;
        if (auto read = windows_.read(active); read && read->pid != 0) {
            ElementRef application = elements::application(read->pid);
            post(read->pid, application, ax::notification::kFocusedWindowChanged);
            post(read->pid, application, ax::notification::kMainWindowChanged);
        }
    } else if (property == connection_.atom("_NET_CLIENT_LIST")) {
        auto clients = windows_.list();
        for (xcb_window_t w : clients) {
            if (std::find(clients_.begin(), clients_.end(), w) != clients_.end()) {
                continue;
            }
            if (auto read = windows_.read(w); read && read->pid != 0) {
                bool observed = std::any_of(observers_.begin(), observers_.end(),
                                            [&](auto& o) { return o.second.pid == read->pid; });
                if (observed) {
                    watch(w);
                }
                post(read->pid, elements::window(w), ax::notification::kWindowCreated);
            }
        }
        clients_ = std::move(clients);
    }
}

void X11Observers::handle(const xcb_generic_event_t& event) {
    switch (event.response_type & 0x7f) {
        case XCB_CONFIGURE_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
            windowChanged(e.window, false);
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_destroy_notify_event_t&>(event);
            windowChanged(e.window, true);
            break;
        }
        case XCB_PROPERTY_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if (e.window == connection_.root()) {
                rootChanged(e.atom);
            } else {
                windowChanged(e.window, false);
            }
            break;
        }
        default:
            break;
    }
}

}  // namespace nimbrel::x11
