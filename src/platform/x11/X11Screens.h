#pragma once

#include <chrono>
#include <optional>
#include <set>

#include "platform/Screens.h"
#include "platform/Subscription.h"
#include "platform/x11/Connection.h"
#include "platform/x11/EventHub.h"
#include "platform/x11/MonitorLayout.h"

namespace nimbrel::x11 {

// Screens are the RandR monitors; a monitor's visible frame leaves out what the docks reserve.
// A server without monitors (no RandR 1.5) has one screen, the root window.
class X11Screens final : public Screens {
  public:
    // Reads the server on every question.
    explicit X11Screens(Connection& connection) : connection_(connection) {}
    // Keeps what it read until the events say that the monitors or the docks changed: the
    // program asks for the layout many times for every window it hides. Monitors set by hand
    // (xrandr --setmonitor) come with no event, so they are kept only for a moment.
    X11Screens(Connection& connection, EventHub& events);

    std::vector<Screen> screens() override;
    // The monitor that holds most of the active window, else the primary one.
    std::optional<Screen> mainScreen() override;
    Point mouseLocation() override;

    // The monitors as the server has them now, for the services that place windows.
    MonitorLayout layout();

  private:
    std::vector<Monitor> monitors();
    std::vector<Strut> struts();
    std::vector<Monitor> readMonitors();
    std::vector<Strut> readStruts();
    Screen screen(const MonitorLayout& layout, const Monitor& monitor,
                  const std::vector<Strut>& struts);
    void handle(const xcb_generic_event_t& event);

    Connection& connection_;
    EventHub* events_ = nullptr;
    std::uint8_t randrFirstEvent_ = 0;
    std::optional<std::vector<Monitor>> monitors_;
    std::chrono::steady_clock::time_point monitorsReadAt_;
    std::optional<std::vector<Strut>> struts_;
    // The windows whose reservations are watched for changes.
    std::set<xcb_window_t> docks_;
    Subscription subscription_;
};

}  // namespace nimbrel::x11
