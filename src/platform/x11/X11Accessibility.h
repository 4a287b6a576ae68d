#pragma once

#include <optional>
#include <vector>

#include "platform/Accessibility.h"
#include "platform/x11/ClientWindows.h"
#include "platform/x11/Connection.h"
#include "platform/x11/EventHub.h"
#include "platform/x11/TaskbarMarks.h"
#include "platform/x11/X11Observers.h"
#include "platform/x11/X11Screens.h"

namespace nimbrel::x11 {

// The accessibility interface over the window manager's client windows. A window element is a
// client window; an application element is the process that owns windows; the system-wide
// element answers which application is active. Positions and sizes are the frame's, in
// accessibility space.
//
// X has no permission for this, so the program is always trusted. Changes are requests to the
// window manager: a write waits, for the messaging timeout at most, until the manager has acted,
// so that a read right after it tells where the window really is (a manager that clamps a move
// leaves the window on screen, and the read says so). A window moved beyond every monitor leaves
// the taskbar and the pager until it comes back.
class X11Accessibility final : public Accessibility {
  public:
    X11Accessibility(Connection& connection, X11Screens& screens, EventHub& events)
        : connection_(connection),
          screens_(screens),
          windows_(connection, events),
          marks_(connection, windows_),
          observers_(connection, events, windows_) {
        marks_.restoreInSight(screens_.layout());
    }

    bool isProcessTrusted() override { return true; }
    bool requestTrust() override { return true; }

    ElementRef applicationElement(Pid pid) override;
    ElementRef systemWideElement() override;
    AXError setMessagingTimeout(ElementRef element, double seconds) override;

    AXError copyAttributeValue(ElementRef element, std::string_view attribute,
                               AXValue& value) override;
    AXError setAttributeValue(ElementRef element, std::string_view attribute,
                              const AXValue& value) override;
    AXError performAction(ElementRef element, std::string_view action) override;
    AXError processID(ElementRef element, Pid& pid) override;
    AXError windowNumber(ElementRef element, WindowNumber& number) override;

    ObserverRef createObserver(Pid pid, AXObserverCallback callback) override;
    AXError addNotification(ObserverRef observer, ElementRef element,
                            std::string_view notification) override;
    AXError removeNotification(ObserverRef observer, ElementRef element,
                               std::string_view notification) override;
    void destroyObserver(ObserverRef observer) override;

    static ElementRef windowElement(xcb_window_t window);

  private:
    AXError windowAttribute(const ClientWindow& window, std::string_view attribute, AXValue& value);
    AXError applicationAttribute(Pid pid, std::string_view attribute, AXValue& value);
    AXError setWindowAttribute(const ClientWindow& window, std::string_view attribute,
                               const AXValue& value);
    // The application's windows, front to back.
    std::vector<xcb_window_t> windowsOf(Pid pid);
    std::optional<xcb_window_t> frontWindowOf(Pid pid);
    // Polls the window until `settled` holds or the messaging timeout passes.
    bool awaitWindow(xcb_window_t window, const std::function<bool(const ClientWindow&)>& settled);

    Connection& connection_;
    X11Screens& screens_;
    ClientWindows windows_;
    TaskbarMarks marks_;
    X11Observers observers_;
    double timeout_ = 6.0;
};

}  // namespace nimbrel::x11
