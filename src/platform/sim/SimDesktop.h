#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimAlerts.h"
#include "platform/sim/SimAppPresence.h"
#include "platform/sim/SimApplication.h"
#include "platform/sim/SimDockMenu.h"
#include "platform/sim/SimEventLog.h"
#include "platform/sim/SimEventSource.h"
#include "platform/sim/SimHotKeys.h"
#include "platform/sim/SimKeyMonitor.h"
#include "platform/sim/SimKeyboard.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "platform/sim/SimKeychain.h"
#include "platform/sim/SimLocalAuthentication.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimLoginItem.h"
#include "platform/sim/SimMainLoop.h"
#include "platform/sim/SimPanels.h"
#include "platform/sim/SimScreens.h"
#include "platform/sim/SimSound.h"
#include "platform/sim/SimStatusBar.h"
#include "platform/sim/SimSystemNotifications.h"
#include "platform/sim/SimSystemSettings.h"
#include "platform/sim/SimTextMetrics.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/SimWindowList.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/SimWorld.h"

namespace nimbrel::sim {

// A whole simulated desktop: the world model, the platform services the program sees, and the
// control surface with which a script or a test changes the world and reads it back. The desktop
// outlives any one run of the program (its defaults, screens and applications stay).
//
// Control commands change the world as its users would; they post the same notifications as the
// program's own writes, through the main loop, so they arrive when the loop next turns (runDue).
class SimDesktop {
  public:
    SimDesktop();
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    // ---- The services the program uses ----
    SimMainLoop& loop() { return loop_; }
    SimUserDefaults& defaults() { return defaults_; }
    SimEventLog& events() { return events_; }
    Accessibility& accessibility() { return accessibility_; }
    Workspace& workspace() { return workspace_; }
    Application& application() { return application_; }
    SystemNotifications& notifications() { return notifications_; }
    Screens& screens() { return screens_; }
    WindowList& windowList() { return windowList_; }
    EventSource& eventSource() { return eventSource_; }
    Sound& sound() { return sound_; }
    Log& log() { return log_; }
    SimHotKeys& hotKeys() { return hotKeys_; }
    SimKeyMonitor& keyMonitor() { return keyMonitor_; }
    SimKeyboardLayout& keyboardLayout() { return keyboardLayout_; }
    SimAppPresence& appPresence() { return appPresence_; }
    SimKeychain& keychain() { return keychain_; }
    SimLocalAuthentication& localAuthentication() { return localAuthentication_; }
    SimAlerts& alerts() { return alerts_; }
    SimPanels& panels() { return panels_; }
    SimTextMetrics& textMetrics() { return textMetrics_; }
    SimStatusBar& statusBar() { return statusBar_; }
    SimDockMenu& dockMenu() { return dockMenu_; }
    SimLoginItem& loginItem() { return loginItem_; }
    SimSystemSettings& systemSettings() { return systemSettings_; }
    // Routes key events: the program's tap, hot keys, the lock shortcut, then the key window.
    SimKeyboard& keyboard() { return keyboard_; }
    Platform platform(Localizer& strings);

    // ---- Screens (rectangles in accessibility space; the first screen is the primary) ----
    SimResult addScreen(const std::string& name, Rect frame, std::optional<Rect> visible = {});
    SimResult removeScreen(const std::string& name);
    const std::vector<SimScreen>& screenList() const { return world_.screens(); }
    const SimScreen* screenState(const std::string& name) const { return world_.screen(name); }
    // Converts between accessibility space and screen space; 0 without screens.
    double primaryScreenHeight() const { return world_.primaryScreenHeight(); }

    // ---- Applications, named by the pid they run under ----
    SimResult launchApp(Pid pid, const std::string& name,
                        std::optional<std::string> bundleID = std::nullopt,
                        ActivationPolicy policy = ActivationPolicy::regular);
    SimResult quitApp(Pid pid);
    SimResult activateApp(Pid pid);
    SimResult hideApp(Pid pid);
    SimResult unhideApp(Pid pid);
    SimResult hangApp(Pid pid);
    SimResult answerApp(Pid pid);
    // The latest instance under the pid, running or terminated; null when there never was one.
    const SimApp* appState(Pid pid) { return world_.latestApp(pid); }
    const SimApp* appState(AppRef app) const { return world_.app(app); }
    std::optional<AppRef> frontmostApp() const { return world_.frontmost(); }

    // ---- Windows, named by their element ----
    SimResult openWindow(Pid pid, const SimWindowSpec& description, ElementRef* opened = nullptr);
    SimResult closeWindow(ElementRef window);
    SimResult moveWindow(ElementRef window, Point origin);
    SimResult resizeWindow(ElementRef window, Size size);
    SimResult minimizeWindow(ElementRef window);
    SimResult restoreWindow(ElementRef window);
    SimResult focusWindow(ElementRef window);
    SimResult setWindowTitle(ElementRef window, const std::string& title);
    SimResult setWindowNumber(ElementRef window, WindowNumber number);
    SimResult pinWindow(ElementRef window, bool pinned = true);
    // As a window manager that keeps windows on screen: moves land inside the screens' bounds.
    SimResult clampWindow(ElementRef window, bool clamped = true);
    // Names as isFailableAttribute accepts them: position, size, minimized, title, subrole,
    // role, number. Failing attributes add up until healWindow.
    SimResult failWindow(ElementRef window, const std::vector<std::string>& attributes);
    SimResult healWindow(ElementRef window);
    // Open or closed (a closed window keeps its last state, closed = true); null when unknown.
    const SimWindow* windowState(ElementRef window) { return world_.window(window); }
    bool isFocused(ElementRef window);
    // The program's on-screen rule over the window's true frame: 40 x 20 points on one screen.
    bool isOnScreen(ElementRef window);
    std::vector<ElementRef> windowsOf(Pid pid);
    // Every open window, front to back.
    const std::vector<ElementRef>& windowStack() const { return world_.stack(); }
    // Whether an open window has that number (0 never names a window).
    bool hasWindowNumber(WindowNumber number);

    // ---- Pointer, input and time ----
    void moveMouse(Point p) { world_.movePointer(p); }
    void mouseDown(Point p) { world_.pointerEvent(SimPointerAction::down, p); }
    void mouseDrag(Point p) { world_.pointerEvent(SimPointerAction::drag, p); }
    void mouseUp(Point p) { world_.pointerEvent(SimPointerAction::up, p); }
    Point mousePosition() const { return world_.pointer(); }
    void recordClick() { world_.recordInput(InputEventType::leftMouseUp); }
    void recordKeyPress() { world_.recordInput(InputEventType::keyDown); }
    TimePoint lastInput(InputEventType type) const { return world_.lastInput(type); }
    // The program's panels get pointer presses first (the point in accessibility space); when
    // the interceptor answers true the windows underneath never see them.
    void setPointerInterceptor(std::function<bool(SimPointerAction, Point)> interceptor) {
        world_.setPointerInterceptor(std::move(interceptor));
    }
    void advanceTime(double seconds) { loop_.advance(seconds); }
    void runDue() { loop_.runDue(); }

    // ---- Session ----
    void notify(SystemEvent event) { world_.systemHandlers().post(event); }
    void setTrusted(bool trusted) { world_.setTrusted(trusted); }
    bool isTrusted() const { return world_.isTrusted(); }
    double messagingTimeout(Pid pid) const { return world_.messagingTimeout(pid); }

    // ---- The program's process ----
    // The program runs as an accessory application with its own pid (ownProcessID).
    SimResult programStarted(Pid pid = 1, const std::string& name = "Nimbrel");
    // The process is gone: its observers, subscriptions, pointer interceptor and queued work go
    // with it, and its application terminates. Defaults, screens and other applications stay.
    void programEnded();
    bool isProgramRunning() const { return world_.program().has_value(); }
    std::optional<AppRef> programApp() const { return world_.program(); }
    // Sees every replyToApplicationShouldTerminate (after the "quit done"/"quit cancelled" line).
    void setTerminateReplyHandler(std::function<void(bool)> handler) {
        world_.setTerminateReplyHandler(std::move(handler));
    }

    // ---- Reading back the program's registrations ----
    std::size_t observerCount() { return world_.observers().observerCount(); }
    bool isObserved(ElementRef element, const std::string& notification) {
        return world_.observers().isRegistered(element, notification);
    }

    SimWorld& world() { return world_; }

  private:
    void routePointerThroughPanels();
    SimResult withRunningApp(Pid pid, const std::function<void(SimApp&)>& change);
    SimResult withWindow(ElementRef window, const std::function<void(SimWindow&)>& change);

    SimMainLoop loop_;
    SimUserDefaults defaults_;
    SimEventLog events_;
    SimWorld world_;
    SimAccessibility accessibility_;
    SimWorkspace workspace_;
    SimApplication application_;
    SimSystemNotifications notifications_;
    SimScreens screens_;
    SimWindowList windowList_;
    SimEventSource eventSource_;
    SimSound sound_;
    SimLog log_;
    SimHotKeys hotKeys_;
    SimKeyMonitor keyMonitor_;
    SimKeyboardLayout keyboardLayout_;
    SimAppPresence appPresence_;
    SimKeychain keychain_;
    SimLocalAuthentication localAuthentication_;
    SimAlerts alerts_;
    SimPanels panels_;
    SimTextMetrics textMetrics_;
    SimStatusBar statusBar_;
    SimDockMenu dockMenu_;
    SimLoginItem loginItem_;
    SimSystemSettings systemSettings_;
    SimKeyboard keyboard_;
};

}  // namespace nimbrel::sim
