#include "platform/x11/ClientWindows.h"

#include <xcb/res.h>

#include <algorithm>
#include <map>

namespace nimbrel::x11 {
namespace {

// ICCCM WM_STATE values.
constexpr std::uint32_t kIconicState = 3;
// EWMH: the request comes from a pager-like program acting for the user.
constexpr std::uint32_t kSourcePager = 2;
constexpr std::uint32_t kStaticGravity = 10;

}  // namespace

bool ClientWindow::hasState(std::string_view state) const {
    return std::find(states.begin(), states.end(), state) != states.end();
}

std::vector<xcb_window_t> ClientWindows::list() {
    auto items = connection_.cardinals(connection_.root(), connection_.atom("_NET_CLIENT_LIST"),
                                       XCB_ATOM_WINDOW);
    return std::vector<xcb_window_t>(items.begin(), items.end());
}

xcb_window_t ClientWindows::topLevelOf(xcb_window_t window) {
    auto found = topLevelsOf({window});
    return found.empty() ? xcb_window_t{XCB_WINDOW_NONE} : found.begin()->first;
}

std::map<xcb_window_t, xcb_window_t> ClientWindows::topLevelsOf(
    const std::vector<xcb_window_t>& clients) {
    xcb_connection_t* c = connection_.get();
    // Climbs one level for every window at once, so a whole list costs as many round trips as
    // the frames are deep.
    std::map<xcb_window_t, xcb_window_t> topOf;
    std::vector<std::pair<xcb_window_t, xcb_window_t>> climbing;  // client, window reached
    for (xcb_window_t client : clients) {
        climbing.emplace_back(client, client);
    }
    for (int depth = 0; depth < 8 && !climbing.empty(); ++depth) {
        std::vector<xcb_query_tree_cookie_t> asked;
        asked.reserve(climbing.size());
        for (const auto& [client, reached] : climbing) {
            asked.push_back(xcb_query_tree(c, reached));
        }
        std::vector<std::pair<xcb_window_t, xcb_window_t>> higher;
        for (std::size_t i = 0; i < climbing.size(); ++i) {
            Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, asked[i], nullptr));
            if (!tree) {
                continue;
            }
            auto [client, reached] = climbing[i];
            if (tree->parent == connection_.root() || tree->parent == XCB_WINDOW_NONE) {
                topOf.emplace(reached, client);
            } else {
                higher.emplace_back(client, tree->parent);
            }
        }
        climbing = std::move(higher);
    }
    return topOf;
}

std::vector<xcb_window_t> ClientWindows::stacking() {
    std::map<xcb_window_t, xcb_window_t> clientOfTopLevel = topLevelsOf(list());
    xcb_connection_t* c = connection_.get();
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, connection_.root()), nullptr));
    std::vector<xcb_window_t> ordered;
    if (!tree) {
        return ordered;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (auto it = clientOfTopLevel.find(children[i]); it != clientOfTopLevel.end()) {
            ordered.push_back(it->second);
        }
    }
    return ordered;
}

std::vector<ClientWindow> ClientWindows::ofProcess(Pid pid) {
    std::vector<ClientWindow> owned;
    for (ClientWindow& window : read(stacking())) {
        if (window.pid == pid) {
            owned.push_back(std::move(window));
        }
    }
    return owned;
}

xcb_window_t ClientWindows::active() {
    auto items = connection_.cardinals(connection_.root(), connection_.atom("_NET_ACTIVE_WINDOW"),
                                       XCB_ATOM_WINDOW);
    return items.empty() ? xcb_window_t{XCB_WINDOW_NONE} : items.front();
}

Pid ClientWindows::pidOf(xcb_window_t window) {
    auto pid = connection_.cardinals(window, connection_.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
    if (!pid.empty()) {
        return static_cast<Pid>(pid.front());
    }
    // Clients that do not say (many older ones) are known to the server by their connection.
    xcb_connection_t* c = connection_.get();
    // The X-Resource extension names the client by one of its windows; asked only for the process
    // id, it answers with nothing else.
    const xcb_res_client_id_spec_t query{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    Reply<xcb_res_query_client_ids_reply_t> reply(
        xcb_res_query_client_ids_reply(c, xcb_res_query_client_ids(c, 1, &query), nullptr));
    if (!reply) {
        return 0;
    }
    for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem > 0;
         xcb_res_client_id_value_next(&it)) {
        if (xcb_res_client_id_value_value_length(it.data) >= 1) {
            return static_cast<Pid>(*xcb_res_client_id_value_value(it.data));
        }
    }
    return 0;
}

struct ClientWindows::Asked {
    xcb_window_t window;
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
    xcb_get_property_cookie_t pid, netName, name, type, classes, extents, states, icccm;
};

ClientWindows::Asked ClientWindows::ask(xcb_window_t window) {
    xcb_connection_t* c = connection_.get();
    Connection& x = connection_;
    xcb_atom_t wmState = x.atom("WM_STATE");
    return Asked{window,
                 xcb_get_geometry(c, window),
                 xcb_translate_coordinates(c, window, x.root(), 0, 0),
                 x.askProperty(window, x.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL),
                 x.askProperty(window, x.atom("_NET_WM_NAME")),
                 x.askProperty(window, XCB_ATOM_WM_NAME),
                 x.askProperty(window, x.atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM),
                 x.askProperty(window, XCB_ATOM_WM_CLASS),
                 x.askProperty(window, x.atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL),
                 x.askProperty(window, x.atom("_NET_WM_STATE"), XCB_ATOM_ATOM),
                 x.askProperty(window, wmState, wmState)};
}

ClientWindows::ClientWindows(Connection& connection, EventHub& events)
    : connection_(connection), remembering_(true) {
    events_ = events.subscribe([this](const xcb_generic_event_t&) { remembered_.clear(); });
}

std::optional<ClientWindow>* ClientWindows::remembered(xcb_window_t window) {
    // Short enough that a read remembered is as good as one made a moment later.
    constexpr auto kFresh = std::chrono::milliseconds(5);
    auto found = remembered_.find(window);
    if (found == remembered_.end()) {
        return nullptr;
    }
    if (std::chrono::steady_clock::now() - found->second.readAt > kFresh) {
        remembered_.erase(found);
        return nullptr;
    }
    return &found->second.window;
}

void ClientWindows::remember(xcb_window_t window, const std::optional<ClientWindow>& read) {
    if (remembering_) {
        remembered_[window] = Remembered{read, std::chrono::steady_clock::now()};
    }
}

std::optional<ClientWindow> ClientWindows::read(xcb_window_t window) {
    if (auto* known = remembered(window)) {
        return *known;
    }
    // Every request first and every answer after: one round trip for the whole window, not one
    // per property.
    auto read = take(ask(window));
    remember(window, read);
    return read;
}

std::vector<ClientWindow> ClientWindows::read(const std::vector<xcb_window_t>& windows) {
    // And one round trip for all of them.
    std::vector<std::optional<Asked>> asked;
    std::vector<std::optional<ClientWindow>> known;
    asked.reserve(windows.size());
    known.reserve(windows.size());
    for (xcb_window_t w : windows) {
        auto* remembered = this->remembered(w);
        known.push_back(remembered != nullptr ? *remembered : std::nullopt);
        asked.push_back(remembered != nullptr ? std::nullopt : std::optional<Asked>(ask(w)));
    }
    std::vector<ClientWindow> found;
    found.reserve(windows.size());
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (asked[i]) {
            known[i] = take(*asked[i]);
            remember(windows[i], known[i]);
        }
        if (known[i]) {
            found.push_back(std::move(*known[i]));
        }
    }
    return found;
}

std::optional<ClientWindow> ClientWindows::take(const Asked& asked) {
    xcb_connection_t* c = connection_.get();
    Connection& x = connection_;
    xcb_window_t window = asked.window;
    Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, asked.geometry, nullptr));
    Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, asked.origin, nullptr));
    auto pid = x.takeCardinals(asked.pid);
    auto netName = x.takeText(asked.netName);
    auto name = x.takeText(asked.name);
    auto type = x.takeCardinals(asked.type);
    auto classes = x.takeText(asked.classes);
    auto extents = x.takeCardinals(asked.extents);
    auto states = x.takeCardinals(asked.states);
    auto icccm = x.takeCardinals(asked.icccm);
    if (!geometry || !origin) {
        return std::nullopt;
    }

    ClientWindow w;
    w.id = window;
    w.pid = !pid.empty() ? static_cast<Pid>(pid.front()) : pidOf(window);
    w.title = netName.value_or(name.value_or(""));
    if (!type.empty()) {
        w.type = x.atomName(type.front());
    }
    // WM_CLASS is two strings, each ended by a NUL.
    if (classes) {
        auto instanceEnd = std::find(classes->begin(), classes->end(), '\0');
        w.instance.assign(classes->begin(), instanceEnd);
        if (instanceEnd != classes->end()) {
            w.className.assign(instanceEnd + 1, std::find(instanceEnd + 1, classes->end(), '\0'));
        }
    }
    w.clientArea = Rect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    w.frame = w.clientArea;
    if (extents.size() == 4) {
        // left, right, top, bottom
        w.frame = Rect(w.clientArea.x - extents[0], w.clientArea.y - extents[2],
                       w.clientArea.width + extents[0] + extents[1],
                       w.clientArea.height + extents[2] + extents[3]);
    }
    for (xcb_atom_t state : states) {
        w.states.push_back(x.atomName(state));
    }
    w.iconic =
        (!icccm.empty() && icccm.front() == kIconicState) || w.hasState("_NET_WM_STATE_HIDDEN");
    return w;
}

void ClientWindows::sendToRoot(xcb_window_t window, std::string_view message,
                               const std::vector<std::uint32_t>& data) {
    // The window may change from now on, in the manager's own time.
    remembered_.erase(window);
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = connection_.atom(message);
    for (std::size_t i = 0; i < data.size() && i < 5; ++i) {
        event.data.data32[i] = data[i];
    }
    xcb_send_event(connection_.get(), 0, connection_.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    connection_.flush();
}

void ClientWindows::moveFrame(const ClientWindow& window, Point frameOrigin) {
    // With static gravity the window manager places the client area itself, so the frame's
    // extents are added here.
    double left = window.clientArea.x - window.frame.x;
    double top = window.clientArea.y - window.frame.y;
    constexpr std::uint32_t kXAndY = (1u << 8) | (1u << 9);
    sendToRoot(window.id, "_NET_MOVERESIZE_WINDOW",
               {kStaticGravity | kXAndY | (kSourcePager << 12),
                static_cast<std::uint32_t>(static_cast<std::int32_t>(frameOrigin.x + left)),
                static_cast<std::uint32_t>(static_cast<std::int32_t>(frameOrigin.y + top)), 0, 0});
}

void ClientWindows::iconify(xcb_window_t window) {
    sendToRoot(window, "WM_CHANGE_STATE", {kIconicState});
}

void ClientWindows::activate(xcb_window_t window) {
    sendToRoot(window, "_NET_ACTIVE_WINDOW", {kSourcePager, XCB_CURRENT_TIME, 0});
}

void ClientWindows::raise(xcb_window_t window) {
    // No sibling and stack mode Above: the top of the stack.
    sendToRoot(window, "_NET_RESTACK_WINDOW",
               {kSourcePager, XCB_WINDOW_NONE, XCB_STACK_MODE_ABOVE});
}

void ClientWindows::setState(xcb_window_t window, std::string_view state, bool on) {
    sendToRoot(window, "_NET_WM_STATE", {on ? 1u : 0u, connection_.atom(state), 0, kSourcePager});
}

}  // namespace nimbrel::x11
