#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbrel::x11 {

// A reply of the X server, freed with it.
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// The program's one connection to the X server and what every service asks of it: the root
// window, interned atoms and property reads. The connection may belong to the toolkit that runs
// the event loop (one connection, one event stream) or to this object.
class Connection {
  public:
    // Opens the display named by DISPLAY (or `display`); none when the server cannot be reached.
    static std::unique_ptr<Connection> open(const char* display = nullptr);
    // Borrows a connection someone else owns and closes.
    Connection(xcb_connection_t* connection, int screenNumber);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    xcb_connection_t* get() const { return connection_; }
    xcb_window_t root() const { return screen_->root; }
    const xcb_screen_t& screen() const { return *screen_; }

    // Interned once and remembered; XCB_ATOM_NONE when the server refuses.
    xcb_atom_t atom(std::string_view name);
    std::string atomName(xcb_atom_t atom);

    // A property's 32-bit items (CARDINAL, WINDOW, ATOM); empty when absent or of another format.
    std::vector<std::uint32_t> cardinals(xcb_window_t window, xcb_atom_t property,
                                         xcb_atom_t type = XCB_ATOM_ANY);
    // A text property (UTF8_STRING or STRING); none when absent.
    std::optional<std::string> text(xcb_window_t window, xcb_atom_t property);

    // The same reads in two halves, so that several requests travel together and cost one round
    // trip: ask for each property first, then take the answers in any order. Every asked property
    // must be taken, or its answer would stay queued on the connection.
    xcb_get_property_cookie_t askProperty(xcb_window_t window, xcb_atom_t property,
                                          xcb_atom_t type = XCB_ATOM_ANY);
    std::vector<std::uint32_t> takeCardinals(xcb_get_property_cookie_t asked);
    std::optional<std::string> takeText(xcb_get_property_cookie_t asked);

    void flush() { xcb_flush(connection_); }

  private:
    Connection(xcb_connection_t* connection, int screenNumber, bool owned);

    xcb_connection_t* connection_;
    const xcb_screen_t* screen_ = nullptr;
    bool owned_;
    std::map<std::string, xcb_atom_t, std::less<>> atoms_;
    std::map<xcb_atom_t, std::string> names_;
};

}  // namespace nimbrel::x11
