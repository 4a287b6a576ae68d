#include "platform/x11/X11Screens.h"

#include <xcb/randr.h>

#include <set>

namespace nimbrel::x11 {

X11Screens::X11Screens(Connection& connection, EventHub& events)
    : connection_(connection), events_(&events) {
    xcb_connection_t* c = connection_.get();
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
    if (randr != nullptr && randr->present != 0) {
        randrFirstEvent_ = randr->first_event;
        xcb_randr_select_input(
            c, connection_.root(),
            XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE | XCB_RANDR_NOTIFY_MASK_RESOURCE_CHANGE);
    }
    // A dock comes and goes as a child of the root (in its frame when managed), and the
    // manager's work area follows any reservation it knows of.
    events.select(connection_.root(),
                  XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    subscription_ = events.subscribe([this](const xcb_generic_event_t& e) { handle(e); });
}

void X11Screens::handle(const xcb_generic_event_t& event) {
    std::uint8_t type = event.response_type & 0x7f;
    if (randrFirstEvent_ != 0 && (type == randrFirstEvent_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
                                  type == randrFirstEvent_ + XCB_RANDR_NOTIFY)) {
        monitors_.reset();
        struts_.reset();
        return;
    }
    switch (type) {
        case XCB_MAP_NOTIFY:
        case XCB_UNMAP_NOTIFY:
        case XCB_DESTROY_NOTIFY:
            struts_.reset();
            return;
        case XCB_PROPERTY_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            // Managers rewrite their client list on every restack, so the list is not a sign;
            // frames come and go as children of the root instead.
            bool rootList =
                e.window == connection_.root() && e.atom == connection_.atom("_NET_WORKAREA");
            bool reservation = e.atom == connection_.atom("_NET_WM_STRUT_PARTIAL") ||
                               e.atom == connection_.atom("_NET_WM_STRUT");
            if (rootList || reservation) {
                struts_.reset();
            }
            return;
        }
        default:
            return;
    }
}

std::vector<Monitor> X11Screens::monitors() {
    if (events_ == nullptr) {
        return readMonitors();
    }
    constexpr auto kFresh = std::chrono::milliseconds(5);
    auto now = std::chrono::steady_clock::now();
    if (!monitors_ || now - monitorsReadAt_ > kFresh) {
        monitors_ = readMonitors();
        monitorsReadAt_ = now;
    }
    return *monitors_;
}

std::vector<Strut> X11Screens::struts() {
    if (events_ == nullptr) {
        return readStruts();
    }
    if (!struts_) {
        struts_ = readStruts();
    }
    return *struts_;
}

std::vector<Monitor> X11Screens::readMonitors() {
    xcb_connection_t* c = connection_.get();
    std::vector<Monitor> found;
    Reply<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, connection_.root(), 1), nullptr));
    if (reply) {
        for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem > 0;
             xcb_randr_monitor_info_next(&it)) {
            const xcb_randr_monitor_info_t& m = *it.data;
            found.push_back({Rect(m.x, m.y, m.width, m.height), connection_.atomName(m.name),
                             m.name, m.primary != 0});
        }
    }
    if (found.empty()) {
        const xcb_screen_t& s = connection_.screen();
        found.push_back({Rect(0, 0, s.width_in_pixels, s.height_in_pixels), "screen", 0, true});
    }
    return found;
}

std::vector<Strut> X11Screens::readStruts() {
    // Docks are often not managed, so they are looked for among the root's children as well as
    // in the window manager's list. Every question of a stage travels together: three round
    // trips however many windows there are.
    std::set<xcb_window_t> windows;
    for (std::uint32_t w : connection_.cardinals(
             connection_.root(), connection_.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW)) {
        windows.insert(w);
    }
    xcb_connection_t* c = connection_.get();
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, connection_.root()), nullptr));
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        int count = xcb_query_tree_children_length(tree.get());
        std::vector<xcb_get_window_attributes_cookie_t> asked;
        asked.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            asked.push_back(xcb_get_window_attributes(c, children[i]));
        }
        for (int i = 0; i < count; ++i) {
            Reply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(c, asked[static_cast<std::size_t>(i)], nullptr));
            // An unmapped window reserves nothing.
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
                windows.insert(children[i]);
            }
        }
    }
    xcb_atom_t partial = connection_.atom("_NET_WM_STRUT_PARTIAL");
    xcb_atom_t whole = connection_.atom("_NET_WM_STRUT");
    std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> asked;
    for (xcb_window_t w : windows) {
        asked.emplace_back(connection_.askProperty(w, partial, XCB_ATOM_CARDINAL),
                           connection_.askProperty(w, whole, XCB_ATOM_CARDINAL));
    }
    std::vector<Strut> found;
    auto window = windows.begin();
    for (auto& [partialAsked, wholeAsked] : asked) {
        auto items = connection_.takeCardinals(partialAsked);
        auto older = connection_.takeCardinals(wholeAsked);
        if (items.empty()) {
            items = std::move(older);
        }
        if (auto strut = Strut::fromCardinals(items)) {
            found.push_back(*strut);
            if (events_ != nullptr && docks_.insert(*window).second) {
                events_->select(*window, XCB_EVENT_MASK_PROPERTY_CHANGE);
            }
        }
        ++window;
    }
    return found;
}

MonitorLayout X11Screens::layout() {
    const xcb_screen_t& s = connection_.screen();
    return MonitorLayout(monitors(), Size{double(s.width_in_pixels), double(s.height_in_pixels)});
}

Screen X11Screens::screen(const MonitorLayout& layout, const Monitor& monitor,
                          const std::vector<Strut>& struts) {
    return Screen{layout.toScreenSpace(monitor.frame),
                  layout.toScreenSpace(layout.visibleFrame(monitor, struts)), monitor.id,
                  monitor.name};
}

std::vector<Screen> X11Screens::screens() {
    MonitorLayout current = layout();
    auto reserved = struts();
    std::vector<Screen> all;
    for (const Monitor& monitor : current.monitors()) {
        all.push_back(screen(current, monitor, reserved));
    }
    return all;
}

std::optional<Screen> X11Screens::mainScreen() {
    MonitorLayout current = layout();
    const Monitor* best = &current.monitors().front();
    auto active = connection_.cardinals(connection_.root(), connection_.atom("_NET_ACTIVE_WINDOW"),
                                        XCB_ATOM_WINDOW);
    xcb_connection_t* c = connection_.get();
    if (!active.empty() && active.front() != XCB_WINDOW_NONE) {
        auto geometryAsked = xcb_get_geometry(c, active.front());
        auto originAsked = xcb_translate_coordinates(c, active.front(), connection_.root(), 0, 0);
        Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryAsked, nullptr));
        Reply<xcb_translate_coordinates_reply_t> origin(
            xcb_translate_coordinates_reply(c, originAsked, nullptr));
        if (geometry && origin) {
            Rect frame(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
            double most = 0;
            for (const Monitor& monitor : current.monitors()) {
                Rect overlap = monitor.frame.intersection(frame);
                if (overlap.width * overlap.height > most) {
                    most = overlap.width * overlap.height;
                    best = &monitor;
                }
            }
        }
    }
    return screen(current, *best, struts());
}

Point X11Screens::mouseLocation() {
    xcb_connection_t* c = connection_.get();
    Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, connection_.root()), nullptr));
    if (!pointer) {
        return {};
    }
    return layout().toScreenSpace(Point{double(pointer->root_x), double(pointer->root_y)});
}

}  // namespace nimbrel::x11
