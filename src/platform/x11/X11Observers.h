#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Accessibility.h"
#include "platform/x11/ClientWindows.h"
#include "platform/x11/EventHub.h"

namespace nimbrel::x11 {

// Accessibility observers made of X events. A window element's notifications come from its
// client window (configure, property and destroy events); an application element's from the
// root window (the manager's client list and active window), for the windows of its process.
class X11Observers {
  public:
    X11Observers(Connection& connection, EventHub& events, ClientWindows& windows);

    ObserverRef create(Pid pid, AXObserverCallback callback);
    AXError add(ObserverRef observer, ElementRef element, std::string_view notification);
    AXError remove(ObserverRef observer, ElementRef element, std::string_view notification);
    void destroy(ObserverRef observer);

  private:
    struct Observer {
        Pid pid = 0;
        AXObserverCallback callback;
        std::set<std::pair<std::uint64_t, std::string>, std::less<>> registrations;
    };
    // What a watched window was last seen as, to tell which change an event brought.
    struct Seen {
        Rect frame;
        bool iconic = false;
        std::string title;
        Pid pid = 0;
    };

    void handle(const xcb_generic_event_t& event);
    void windowChanged(xcb_window_t window, bool destroyed);
    void rootChanged(xcb_atom_t property);
    // Every observer registered for `notification` on `element`, or on the application of the
    // window when it is one.
    void post(Pid pid, ElementRef element, std::string_view notification);
    void watch(xcb_window_t window);

    Connection& connection_;
    EventHub& events_;
    ClientWindows& windows_;
    std::map<std::uint64_t, Observer> observers_;
    std::uint64_t nextId_ = 1;
    std::map<xcb_window_t, Seen> seen_;
    std::vector<xcb_window_t> clients_;
    xcb_window_t active_ = XCB_WINDOW_NONE;
    bool rootSelected_ = false;
    Subscription subscription_;
};

}  // namespace nimbrel::x11
