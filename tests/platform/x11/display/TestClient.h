#pragma once

#include <unistd.h>
#include <xcb/xcb_aux.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/Geometry.h"
#include "platform/Handles.h"
#include "platform/x11/Connection.h"

namespace nimbrel::test {

// Another application on the test's X server: its own connection, opening windows with the
// titles, types and classes a test asks for.
class TestClient {
  public:
    TestClient() : connection_(x11::Connection::open()) {}

    bool connected() const { return connection_ != nullptr; }
    x11::Connection& connection() { return *connection_; }

    struct Window {
        std::string title = "Document";
        Rect area = Rect(100, 100, 400, 300);
        std::string type;  // a _NET_WM_WINDOW_TYPE_* name; none by default
        std::string instance = "editor";
        std::string className = "Editor";
        bool sayPid = true;
        Pid pid = 0;  // the process the window says it belongs to; this one when 0
    };

    xcb_window_t open(const Window& wanted) {
        xcb_connection_t* c = connection_->get();
        xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, connection_->root(),
                          static_cast<std::int16_t>(wanted.area.x),
                          static_cast<std::int16_t>(wanted.area.y),
                          static_cast<std::uint16_t>(wanted.area.width),
                          static_cast<std::uint16_t>(wanted.area.height), 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        setText(w, connection_->atom("_NET_WM_NAME"), connection_->atom("UTF8_STRING"),
                wanted.title);
        setText(w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, wanted.title);
        setText(w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING,
                wanted.instance + '\0' + wanted.className + '\0');
        if (wanted.sayPid) {
            std::uint32_t pid =
                static_cast<std::uint32_t>(wanted.pid != 0 ? wanted.pid : ::getpid());
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, connection_->atom("_NET_WM_PID"),
                                XCB_ATOM_CARDINAL, 32, 1, &pid);
        }
        if (!wanted.type.empty()) {
            xcb_atom_t type = connection_->atom(wanted.type);
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w,
                                connection_->atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1,
                                &type);
        }
        // WM_NORMAL_HINTS with a position the user chose, so the window manager keeps it.
        std::uint32_t hints[18] = {1 | 2};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NORMAL_HINTS,
                            XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
        xcb_map_window(c, w);
        xcb_aux_sync(c);
        return w;
    }

    void close(xcb_window_t w) {
        xcb_destroy_window(connection_->get(), w);
        xcb_aux_sync(connection_->get());
    }

  private:
    void setText(xcb_window_t w, xcb_atom_t property, xcb_atom_t type, const std::string& text) {
        xcb_change_property(connection_->get(), XCB_PROP_MODE_REPLACE, w, property, type, 8,
                            static_cast<std::uint32_t>(text.size()), text.data());
    }

    std::unique_ptr<x11::Connection> connection_;
};

// Whether the test command started a window manager that keeps every frame on screen.
inline bool windowManagerClamps() {
    const char* wm = std::getenv("WM");
    return wm != nullptr && std::string(wm) == "openbox";
}

// The window manager answers in its own time: waits until `done` holds, for ten seconds at most
// (a loaded machine delays the manager), and answers whether it came to hold.
inline bool eventually(x11::Connection& connection, const std::function<bool()>& done) {
    for (int i = 0; i < 1000; ++i) {
        xcb_aux_sync(connection.get());
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Waits until the window manager lists the window and has framed it.
inline bool managed(x11::Connection& connection, xcb_window_t window) {
    return eventually(connection, [&] {
        auto clients = connection.cardinals(connection.root(), connection.atom("_NET_CLIENT_LIST"),
                                            XCB_ATOM_WINDOW);
        return std::find(clients.begin(), clients.end(), window) != clients.end() &&
               !connection
                    .cardinals(window, connection.atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL)
                    .empty();
    });
}

}  // namespace nimbrel::test
