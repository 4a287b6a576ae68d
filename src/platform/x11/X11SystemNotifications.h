#pragma once

#include <functional>
#include <map>
#include <vector>

#include "platform/LifetimeGuard.h"
#include "platform/MainLoop.h"
#include "platform/SystemNotifications.h"
#include "platform/x11/Connection.h"
#include "platform/x11/EventHub.h"

namespace nimbrel::x11 {

// The session's notifications. Screen changes come from RandR (monitors, outputs, modes) and from
// the work area the window manager publishes (a dock that appears or leaves); one change of the
// layout sends the server's events in bursts, which reach the program as one notification on the
// next turn of the loop. The session's lock and sleep come from services outside X, which report
// them through `notify`.
class X11SystemNotifications final : public SystemNotifications {
  public:
    X11SystemNotifications(Connection& connection, EventHub& events, MainLoop& loop);

    Subscription observe(SystemEvent event, std::function<void()> handler) override;
    void notify(SystemEvent event);

  private:
    void handle(const xcb_generic_event_t& event);
    void screensChanged();

    Connection& connection_;
    MainLoop& loop_;
    std::uint8_t randrFirstEvent_ = 0;
    xcb_atom_t workArea_ = XCB_ATOM_NONE;
    bool screensChangePending_ = false;
    std::map<std::uint64_t, std::pair<SystemEvent, std::function<void()>>> handlers_;
    std::uint64_t nextId_ = 1;
    Subscription subscription_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel::x11
