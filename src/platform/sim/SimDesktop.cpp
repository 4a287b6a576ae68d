#include "platform/sim/SimDesktop.h"

#include <string>

namespace nimbrel::sim {

namespace {
PanelMouseAction toPanelAction(SimPointerAction action) {
    switch (action) {
        case SimPointerAction::down:
            return PanelMouseAction::down;
        case SimPointerAction::drag:
            return PanelMouseAction::drag;
        case SimPointerAction::up:
            break;
    }
    return PanelMouseAction::up;
}
}  // namespace

SimDesktop::SimDesktop()
    : world_(loop_, events_),
      accessibility_(world_),
      workspace_(world_),
      application_(world_),
      notifications_(world_),
      screens_(world_),
      windowList_(world_),
      eventSource_(world_),
      sound_(events_),
      log_(events_),
      hotKeys_(loop_),
      localAuthentication_(loop_),
      alerts_(events_),
      panels_(loop_, events_, [this] { return primaryScreenHeight(); }),
      systemSettings_(events_),
      keyboard_(world_, events_, hotKeys_, keyMonitor_, panels_) {
    panels_.setWindowLookup([this](WindowNumber number) { return hasWindowNumber(number); });
    routePointerThroughPanels();
}

void SimDesktop::routePointerThroughPanels() {
    // The program's panels see the pointer before the windows underneath do.
    world_.setPointerInterceptor([this](SimPointerAction action, Point point) {
        return panels_.pointerEvent(toPanelAction(action), point);
    });
}

void SimDesktop::programEnded() {
    world_.programEnded();
    // Panels die with the process that made them.
    panels_.discardAll();
    dockMenu_.forget();
    keyboard_.setTap(nullptr);
    routePointerThroughPanels();
}

Platform SimDesktop::platform(Localizer& strings) {
    return Platform{accessibility_, workspace_,  application_,
                    notifications_, screens_,    windowList_,
                    eventSource_,   defaults_,   loop_,
                    sound_,         log_,        strings,
                    hotKeys_,       keyMonitor_, keyboardLayout_,
                    appPresence_,   keychain_,   localAuthentication_,
                    alerts_,        panels_,     textMetrics_,
                    statusBar_,     dockMenu_,   loginItem_,
                    systemSettings_};
}

SimResult SimDesktop::addScreen(const std::string& name, Rect frame, std::optional<Rect> visible) {
    return world_.addScreen(name, frame, visible);
}

SimResult SimDesktop::removeScreen(const std::string& name) {
    return world_.removeScreen(name);
}

SimResult SimDesktop::withRunningApp(Pid pid, const std::function<void(SimApp&)>& change) {
    SimApp* a = world_.runningApp(pid);
    if (a == nullptr) {
        return SimResult::refused("no application runs under pid " + std::to_string(pid));
    }
    change(*a);
    return SimResult::done();
}

SimResult SimDesktop::withWindow(ElementRef window, const std::function<void(SimWindow&)>& change) {
    SimWindow* w = world_.window(window);
    if (w == nullptr) {
        return SimResult::refused("unknown window");
    }
    if (w->closed) {
        return SimResult::refused("the window is closed");
    }
    change(*w);
    return SimResult::done();
}

SimResult SimDesktop::launchApp(Pid pid, const std::string& name,
                                std::optional<std::string> bundleID, ActivationPolicy policy) {
    return world_.launch(pid, name, std::move(bundleID), policy);
}

SimResult SimDesktop::quitApp(Pid pid) {
    if (world_.program() && world_.app(*world_.program())->pid == pid) {
        return SimResult::refused("pid " + std::to_string(pid) + " is the program");
    }
    return withRunningApp(pid, [&](SimApp& a) { world_.terminate(a.ref); });
}

SimResult SimDesktop::activateApp(Pid pid) {
    return withRunningApp(pid, [&](SimApp& a) { world_.activate(a.ref); });
}

SimResult SimDesktop::hideApp(Pid pid) {
    return withRunningApp(pid, [&](SimApp& a) { world_.hide(a.ref); });
}

SimResult SimDesktop::unhideApp(Pid pid) {
    return withRunningApp(pid, [&](SimApp& a) { world_.unhide(a.ref); });
}

SimResult SimDesktop::hangApp(Pid pid) {
    return withRunningApp(pid, [](SimApp& a) { a.hung = true; });
}

SimResult SimDesktop::answerApp(Pid pid) {
    return withRunningApp(pid, [](SimApp& a) { a.hung = false; });
}

SimResult SimDesktop::openWindow(Pid pid, const SimWindowSpec& description, ElementRef* opened) {
    SimApp* a = world_.runningApp(pid);
    if (a == nullptr) {
        return SimResult::refused("no application runs under pid " + std::to_string(pid));
    }
    if (description.frame.width < 0 || description.frame.height < 0) {
        return SimResult::refused("a window cannot have a negative size");
    }
    ElementRef element = world_.openWindow(a->ref, description);
    if (opened != nullptr) {
        *opened = element;
    }
    return SimResult::done();
}

SimResult SimDesktop::closeWindow(ElementRef window) {
    return withWindow(window, [&](SimWindow& w) { world_.closeWindow(w.element); });
}

SimResult SimDesktop::moveWindow(ElementRef window, Point origin) {
    return withWindow(window, [&](SimWindow& w) { world_.moveWindow(w.element, origin); });
}

SimResult SimDesktop::resizeWindow(ElementRef window, Size size) {
    if (size.width < 0 || size.height < 0) {
        return SimResult::refused("a window cannot have a negative size");
    }
    return withWindow(window, [&](SimWindow& w) { world_.resizeWindow(w.element, size); });
}

SimResult SimDesktop::minimizeWindow(ElementRef window) {
    return withWindow(window, [&](SimWindow& w) { world_.setMinimized(w.element, true); });
}

SimResult SimDesktop::restoreWindow(ElementRef window) {
    return withWindow(window, [&](SimWindow& w) { world_.setMinimized(w.element, false); });
}

SimResult SimDesktop::focusWindow(ElementRef window) {
    return withWindow(window, [&](SimWindow& w) { world_.raiseAndFocus(w.element); });
}

SimResult SimDesktop::setWindowTitle(ElementRef window, const std::string& title) {
    return withWindow(window, [&](SimWindow& w) { world_.setTitle(w.element, title); });
}

SimResult SimDesktop::setWindowNumber(ElementRef window, WindowNumber number) {
    return withWindow(window, [&](SimWindow& w) { w.number = number; });
}

SimResult SimDesktop::pinWindow(ElementRef window, bool pinned) {
    return withWindow(window, [&](SimWindow& w) { w.pinned = pinned; });
}

SimResult SimDesktop::clampWindow(ElementRef window, bool clamped) {
    return withWindow(window, [&](SimWindow& w) { w.clamped = clamped; });
}

SimResult SimDesktop::failWindow(ElementRef window, const std::vector<std::string>& attributes) {
    for (const auto& name : attributes) {
        if (!isFailableAttribute(name)) {
            return SimResult::refused("unknown attribute " + name);
        }
    }
    return withWindow(
        window, [&](SimWindow& w) { w.failing.insert(attributes.begin(), attributes.end()); });
}

SimResult SimDesktop::healWindow(ElementRef window) {
    return withWindow(window, [](SimWindow& w) { w.failing.clear(); });
}

bool SimDesktop::isFocused(ElementRef window) {
    const SimWindow* w = world_.liveWindow(window);
    return w != nullptr && world_.app(w->app)->focused == window;
}

bool SimDesktop::isOnScreen(ElementRef window) {
    const SimWindow* w = world_.window(window);
    return w != nullptr && world_.isOnScreen(w->frame);
}

bool SimDesktop::hasWindowNumber(WindowNumber number) {
    if (number == 0) {
        return false;
    }
    for (ElementRef e : world_.stack()) {
        if (world_.window(e)->number == number) {
            return true;
        }
    }
    return false;
}

std::vector<ElementRef> SimDesktop::windowsOf(Pid pid) {
    SimApp* a = world_.runningApp(pid);
    return a != nullptr ? world_.windowsOf(a->ref) : std::vector<ElementRef>{};
}

SimResult SimDesktop::programStarted(Pid pid, const std::string& name) {
    return world_.programStarted(pid, name);
}

}  // namespace nimbrel::sim
