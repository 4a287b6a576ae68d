#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handles.h"
#include "platform/x11/Connection.h"

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
    explicit ClientWindows(Connection& connection) : connection_(connection) {}

    // The managed windows in the order the window manager mapped them.
    std::vector<xcb_window_t> list();
    // The managed windows from the bottom of the stack to the top, as the server stacks their
    // frames (some managers keep their own stacking list in another order).
    std::vector<xcb_window_t> stacking();
    // The windows of one process, bottom of the stack first.
    std::vector<ClientWindow> ofProcess(Pid pid);
    // None when the window is gone.
    std::optional<ClientWindow> read(xcb_window_t window);
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
    Pid pidOf(xcb_window_t window);
    void sendToRoot(xcb_window_t window, std::string_view message,
                    const std::vector<std::uint32_t>& data);

    Connection& connection_;
};

}  // namespace nimbrel::x11
