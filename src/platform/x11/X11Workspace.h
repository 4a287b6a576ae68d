#pragma once

#include <map>
#include <vector>

#include "platform/Workspace.h"
#include "platform/x11/ClientWindows.h"
#include "platform/x11/DesktopEntries.h"
#include "platform/x11/EventHub.h"
#include "platform/x11/X11Screens.h"

namespace nimbrel::x11 {

// The running applications are the processes that own client windows, and this program. An
// instance is a process id with its start time, so a relaunched application that gets the same
// id again is a new instance. Names and identifiers come from the desktop entry that matches the
// windows' class, else from the class itself.
//
// X has no hidden applications. Hiding one iconifies its windows that are in sight and takes the
// keyboard focus from it; a window already out of sight (parked beyond the monitors) stays where
// it is, so that it never shows up in the taskbar as a minimised window. The application counts
// as hidden until one of its windows is in sight again; showing it again restores only the
// windows its hiding iconified, never one the user minimised.
class X11Workspace final : public Workspace {
  public:
    X11Workspace(Connection& connection, EventHub& events, X11Screens& screens,
                 DesktopEntries entries);

    std::vector<AppRef> runningApplications() override;
    std::optional<AppRef> frontmostApplication() override;
    std::optional<AppRef> runningApplication(Pid pid) override;
    Pid ownProcessID() override;

    Pid processID(AppRef app) override;
    std::optional<std::string> bundleIdentifier(AppRef app) override;
    std::optional<std::string> localizedName(AppRef app) override;
    ActivationPolicy activationPolicy(AppRef app) override;
    bool isTerminated(AppRef app) override;
    bool isHidden(AppRef app) override;

    bool hide(AppRef app) override;
    bool unhide(AppRef app) override;
    bool activate(AppRef app) override;

    Subscription observe(WorkspaceAppEvent event, std::function<void(AppRef)> handler) override;

  private:
    struct Instance {
        Pid pid = 0;
        unsigned long long started = 0;
        std::string bundle;
        std::string name;
        bool terminated = false;
    };

    // Brings the instances up to date with the windows and the process table, and tells the
    // observers what launched and what ended.
    void refresh();
    void activeChanged();
    void emit(WorkspaceAppEvent event, AppRef app);
    std::optional<AppRef> live(Pid pid);

    bool inSight(const ClientWindow& window);
    // Gives the focus to the front window in sight of another process, else to nobody.
    void focusAwayFrom(Pid pid);

    Connection& connection_;
    X11Screens& screens_;
    ClientWindows windows_;
    // A window the hiding asked the manager to iconify. Until it has been seen iconic it is still
    // on its way out, not brought back.
    struct Iconified {
        xcb_window_t id = XCB_NONE;
        bool seenIconic = false;
    };
    // The hidden applications by instance, each with the windows its hiding iconified.
    std::map<std::uint64_t, std::vector<Iconified>> hidden_;
    DesktopEntries entries_;
    std::map<std::uint64_t, Instance> instances_;  // in launch order, by id
    std::uint64_t nextId_ = 1;
    std::optional<AppRef> frontmost_;
    std::map<std::uint64_t, std::pair<WorkspaceAppEvent, std::function<void(AppRef)>>> handlers_;
    std::uint64_t nextHandler_ = 1;
    Subscription events_;
};

}  // namespace nimbrel::x11
