#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handles.h"
#include "platform/Subscription.h"
#include "platform/x11/Connection.h"
#include "platform/x11/EventHub.h"

namespace nimbrel::x11 {

// A client window as the server has it at the moment it is read.
struct ClientWindow {
    xcb_window_t id = XCB_WINDOW_NONE;
    Pid pid = 0;  // 0 when neither the window nor the server tells
    std::string title;
    std::string type;  // the window-type atom's name, empty for a window that gives none
    std::string instance;
    std::string className;
    // The window manager's frame around the client, in root coordinates.
    Rect frame;
    Rect clientArea;
    bool iconic = false;
    std::vector<std::string> states;  // _NET_WM_STATE, as atom names

    bool hasState(std::string_view state) const;
};

// The window manager's client windows: what they are, and the requests that move, iconify,
// activate and mark them. Requests go to the window manager (EWMH client messages), which
// answers them in its own time; a caller reads the window again to learn what it did.
class ClientWindows {
  public:
    // Reads the server on every question.
    explicit ClientWindows(Connection& connection) : connection_(connection) {}
    // Answers a question about a window again from what was read a moment ago, while no event
    // has come in and no request was sent about it since: the program asks many questions of
    // one window in a row, and each read costs a round trip.
    ClientWindows(Connection& connection, EventHub& events);

    // The managed windows in the order the window manager mapped them.
    std::vector<xcb_window_t> list();
    // The managed windows from the bottom of the stack to the top, as the server stacks their
    // frames (some managers keep their own stacking list in another order).
    std::vector<xcb_window_t> stacking();
    // The windows of one process, bottom of the stack first.
    std::vector<ClientWindow> ofProcess(Pid pid);
    // None when the window is gone.
    std::optional<ClientWindow> read(xcb_window_t window);
    // The windows that are still there, in the order given.
    std::vector<ClientWindow> read(const std::vector<xcb_window_t>& windows);
    // The next read of the window asks the server, for one who waits for it to change.
    void forget(xcb_window_t window) { remembered_.erase(window); }
    xcb_window_t active();

    // Moves the window so that its frame's top-left corner lands at `frameOrigin` (root
    // coordinates). The window manager may refuse or clamp the move.
    void moveFrame(const ClientWindow& window, Point frameOrigin);
    void iconify(xcb_window_t window);
    // Raises, de-iconifies and focuses the window.
    void activate(xcb_window_t window);
    void setState(xcb_window_t window, std::string_view state, bool on);
    // Raises the window above its siblings without moving the focus.
    void raise(xcb_window_t window);

    // The child of the root that holds the window (its frame, or the window itself when
    // unmanaged); none when the window is gone.
    xcb_window_t topLevelOf(xcb_window_t window);

  private:
    struct Asked;
    Asked ask(xcb_window_t window);
    std::optional<ClientWindow> take(const Asked& asked);
    // The child of the root that holds each client, by that child.
    std::map<xcb_window_t, xcb_window_t> topLevelsOf(const std::vector<xcb_window_t>& clients);
    Pid pidOf(xcb_window_t window);
    void sendToRoot(xcb_window_t window, std::string_view message,
                    const std::vector<std::uint32_t>& data);

    struct Remembered {
        std::optional<ClientWindow> window;
        std::chrono::steady_clock::time_point readAt;
    };
    std::optional<ClientWindow>* remembered(xcb_window_t window);
    void remember(xcb_window_t window, const std::optional<ClientWindow>& read);

    Connection& connection_;
    bool remembering_ = false;
    std::map<xcb_window_t, Remembered> remembered_;
    Subscription events_;
};

}  // namespace nimbrel::x11
