#include "platform/x11/X11Screens.h"

#include <xcb/randr.h>

#include <set>

namespace nimbrel::x11 {

std::vector<Monitor> X11Screens::monitors() {
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

std::vector<Strut> X11Screens::struts() {
    // Docks are often not managed, so they are looked for among the root's children as well as
    // in the window manager's list.
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
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
                c, xcb_get_window_attributes(c, children[i]), nullptr));
            // An unmapped window reserves nothing.
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
                windows.insert(children[i]);
            }
        }
    }
    xcb_atom_t partial = connection_.atom("_NET_WM_STRUT_PARTIAL");
    xcb_atom_t whole = connection_.atom("_NET_WM_STRUT");
    std::vector<Strut> found;
    for (xcb_window_t w : windows) {
        auto items = connection_.cardinals(w, partial, XCB_ATOM_CARDINAL);
        if (items.empty()) {
            items = connection_.cardinals(w, whole, XCB_ATOM_CARDINAL);
        }
        if (auto strut = Strut::fromCardinals(items)) {
            found.push_back(*strut);
        }
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
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, active.front()), nullptr));
        Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
            c, xcb_translate_coordinates(c, active.front(), connection_.root(), 0, 0), nullptr));
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
