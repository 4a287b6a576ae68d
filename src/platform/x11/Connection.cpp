#include "platform/x11/Connection.h"

namespace nimbrel::x11 {
namespace {

const xcb_screen_t* screenNumbered(xcb_connection_t* connection, int number) {
    auto it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem > 0; xcb_screen_next(&it), ++i) {
        if (i == number) {
            return it.data;
        }
    }
    return nullptr;
}

// Properties the program reads are small; this bounds what one damaged client can make it fetch.
constexpr std::uint32_t kLongestProperty = 1 << 16;

}  // namespace

std::unique_ptr<Connection> Connection::open(const char* display) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display, &screenNumber);
    if (xcb_connection_has_error(connection) != 0 ||
        screenNumbered(connection, screenNumber) == nullptr) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<Connection>(new Connection(connection, screenNumber, true));
}

Connection::Connection(xcb_connection_t* connection, int screenNumber)
    : Connection(connection, screenNumber, false) {}

Connection::Connection(xcb_connection_t* connection, int screenNumber, bool owned)
    : connection_(connection), screen_(screenNumbered(connection, screenNumber)), owned_(owned) {}

Connection::~Connection() {
    if (owned_) {
        xcb_disconnect(connection_);
    }
}

xcb_atom_t Connection::atom(std::string_view name) {
    if (auto it = atoms_.find(name); it != atoms_.end()) {
        return it->second;
    }
    auto cookie =
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.data());
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection_, cookie, nullptr));
    xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    if (atom != XCB_ATOM_NONE) {
        atoms_.emplace(std::string(name), atom);
    }
    return atom;
}

std::string Connection::atomName(xcb_atom_t atom) {
    // An atom keeps its name for the life of the server.
    if (auto known = names_.find(atom); known != names_.end()) {
        return known->second;
    }
    Reply<xcb_get_atom_name_reply_t> reply(
        xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, atom), nullptr));
    if (!reply) {
        return {};
    }
    std::string name(xcb_get_atom_name_name(reply.get()),
                     static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
    names_.emplace(atom, name);
    return name;
}

std::vector<std::uint32_t> Connection::cardinals(xcb_window_t window, xcb_atom_t property,
                                                 xcb_atom_t type) {
    return takeCardinals(askProperty(window, property, type));
}

std::optional<std::string> Connection::text(xcb_window_t window, xcb_atom_t property) {
    return takeText(askProperty(window, property));
}

xcb_get_property_cookie_t Connection::askProperty(xcb_window_t window, xcb_atom_t property,
                                                  xcb_atom_t type) {
    return xcb_get_property(connection_, 0, window, property, type, 0, kLongestProperty);
}

std::vector<std::uint32_t> Connection::takeCardinals(xcb_get_property_cookie_t asked) {
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, asked, nullptr));
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* items = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    auto count = static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4;
    return std::vector<std::uint32_t>(items, items + count);
}

std::optional<std::string> Connection::takeText(xcb_get_property_cookie_t asked) {
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, asked, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format != 8) {
        return std::nullopt;
    }
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

}  // namespace nimbrel::x11
