#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/EventSource.h"
#include "platform/SystemNotifications.h"
#include "platform/Workspace.h"
#include "platform/sim/SimEventLog.h"
#include "platform/sim/SimHandlerList.h"
#include "platform/sim/SimMainLoop.h"
#include "platform/sim/SimObserverRegistry.h"
#include "platform/sim/SimRecords.h"
#include "platform/sim/SimResult.h"

namespace nimbrel::sim {

enum class SimMouseEvent { moved };
enum class SimPointerAction { down, drag, up };

// The state of the simulated desktop and the operations that keep it consistent: screens,
// applications, windows in one front-to-back stack, the pointer, input times and the accessibility
// permission. Every change posts the notifications the real desktop would post, whoever asked for
// it (a script through SimDesktop, or the program through the platform interfaces).
class SimWorld {
  public:
    SimWorld(SimMainLoop& loop, SimEventLog& events);
    SimWorld(const SimWorld&) = delete;
    SimWorld& operator=(const SimWorld&) = delete;

    SimMainLoop& loop() { return loop_; }
    SimEventLog& events() { return events_; }

    // Screens, primary first.
    const std::vector<SimScreen>& screens() const { return screens_; }
    const SimScreen* screen(std::string_view name) const;
    SimResult addScreen(const std::string& name, Rect frame, std::optional<Rect> visibleFrame);
    SimResult removeScreen(const std::string& name);
    std::vector<Rect> screenRects() const;
    double primaryScreenHeight() const;
    // Accessibility space to screen space (bottom-left origin, y up) and back: the same flip.
    Rect flip(const Rect& r) const;
    Point flip(Point p) const;
    // At least 40 x 20 points of the frame lie on one screen.
    bool isOnScreen(const Rect& frame) const;
    // The origin nearest to the frame's at which it lies inside the bounding box of the screens
    // (its top-left corner when it is larger); the frame's own origin without screens.
    Point clampIntoScreens(const Rect& frame) const;

    // Applications. An AppRef names one instance; a pid names the instance running under it now.
    SimApp* app(AppRef ref);
    const SimApp* app(AppRef ref) const;
    SimApp* runningApp(Pid pid);
    // The most recent instance with that pid, running or not.
    SimApp* latestApp(Pid pid);
    const std::vector<AppRef>& launchOrder() const { return launchOrder_; }
    std::optional<AppRef> frontmost() const;
    SimResult launch(Pid pid, const std::string& name, std::optional<std::string> bundleID,
                     ActivationPolicy policy, AppRef* launched = nullptr);
    void terminate(AppRef ref);
    bool activate(AppRef ref);
    bool hide(AppRef ref);
    bool unhide(AppRef ref);

    // Windows. window() finds closed ones too (they keep their last state); liveWindow() only open.
    SimWindow* window(ElementRef element);
    SimWindow* liveWindow(ElementRef element);
    ElementRef openWindow(AppRef owner, const SimWindowSpec& description);
    void closeWindow(ElementRef element);
    void moveWindow(ElementRef element, Point origin);
    void resizeWindow(ElementRef element, Size size);
    void setMinimized(ElementRef element, bool minimized);
    // Brings the window to the front and makes it its application's focused window.
    void raiseAndFocus(ElementRef element);
    void setTitle(ElementRef element, const std::string& title);
    void setNumber(ElementRef element, WindowNumber number) {
        liveWindow(element)->number = number;
    }
    // Front to back.
    std::vector<ElementRef> windowsOf(AppRef owner) const;
    const std::vector<ElementRef>& stack() const { return stack_; }
    // Not minimised and its application neither hidden nor terminated.
    bool isVisible(const SimWindow& w) const;
    // The frontmost visible window containing the point.
    ElementRef windowAt(Point p) const;

    // Accessibility elements.
    ElementRef systemWideElement() const { return systemWide_; }
    // Equal for every request with the same pid, across relaunches under that pid.
    ElementRef applicationElement(Pid pid);
    std::optional<Pid> applicationElementPid(ElementRef element) const;
    bool isTrusted() const { return trusted_; }
    void setTrusted(bool trusted) { trusted_ = trusted; }
    double messagingTimeout(Pid pid) const;
    void setMessagingTimeout(double seconds) { timeout_ = seconds; }
    void setMessagingTimeout(Pid pid, std::optional<double> seconds);

    SimObserverRegistry& observers() { return observers_; }
    SimHandlerList<WorkspaceAppEvent, AppRef>& workspaceHandlers() { return workspaceHandlers_; }
    SimHandlerList<SystemEvent>& systemHandlers() { return systemHandlers_; }
    SimHandlerList<SimMouseEvent, Point>& mouseMonitors() { return mouseMonitors_; }

    // Pointer and input, in accessibility space and on the virtual clock.
    Point pointer() const { return pointer_; }
    void pointerEvent(SimPointerAction action, Point p);
    void movePointer(Point p);
    void recordInput(InputEventType type);
    TimePoint lastInput(InputEventType type) const;
    // The program's panels see pointer presses first; answering true keeps them from the windows.
    void setPointerInterceptor(std::function<bool(SimPointerAction, Point)> interceptor) {
        interceptor_ = std::move(interceptor);
    }

    // The program's own process.
    std::optional<AppRef> program() const { return program_; }
    Pid programPid() const { return programPid_; }
    SimResult programStarted(Pid pid, const std::string& name);
    void programEnded();
    void setTerminateReplyHandler(std::function<void(bool)> handler) {
        terminateReply_ = std::move(handler);
    }
    void replyToTermination(bool terminate);

  private:
    void setFocused(SimApp& a, ElementRef element);
    void refocusAfterLoss(SimApp& a, ElementRef lost);
    void bringToFront(ElementRef element);
    void stackChanged() { stackByAppStale_ = true; }
    void activateNextAfter(AppRef leaving);
    void makeFrontmost(AppRef ref);
    void postAX(ElementRef on, std::string_view notification, ElementRef about);
    WindowNumber nextFreeNumber();

    SimMainLoop& loop_;
    SimEventLog& events_;
    SimObserverRegistry observers_;
    SimHandlerList<WorkspaceAppEvent, AppRef> workspaceHandlers_;
    SimHandlerList<SystemEvent> systemHandlers_;
    SimHandlerList<SimMouseEvent, Point> mouseMonitors_;

    std::uint64_t nextId_ = 1;
    ElementRef systemWide_;
    std::vector<SimScreen> screens_;
    std::map<std::string, std::uint32_t> displayIDs_;  // a screen keeps its id when reconnected
    std::map<std::uint64_t, SimApp> apps_;
    std::vector<AppRef> launchOrder_;
    std::vector<AppRef> activations_;  // most recent last
    std::optional<AppRef> frontmost_;
    std::map<std::uint64_t, SimWindow> windows_;
    std::vector<ElementRef> stack_;  // open windows, front to back
    // The stack split by application (by AppRef id), rebuilt on the first use after a change.
    mutable std::map<std::uint64_t, std::vector<ElementRef>> stackByApp_;
    mutable bool stackByAppStale_ = true;
    std::map<Pid, ElementRef> appElements_;
    std::map<std::uint64_t, Pid> appElementPids_;  // the other way round
    WindowNumber nextNumber_ = 100;

    bool trusted_ = true;
    double timeout_ = 1.0;
    std::map<Pid, double> appTimeouts_;

    Point pointer_;
    std::map<InputEventType, TimePoint> lastInput_;
    std::function<bool(SimPointerAction, Point)> interceptor_;

    std::optional<AppRef> program_;
    Pid programPid_ = 1;
    std::function<void(bool)> terminateReply_;
};

}  // namespace nimbrel::sim
