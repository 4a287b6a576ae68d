#include "platform/sim/SimWorld.h"

#include <algorithm>
#include <cstdio>

#include "platform/AccessibilityNames.h"

namespace nimbrel::sim {
namespace {

std::uint64_t fnv1a(std::string_view text, std::uint64_t seed) {
    std::uint64_t hash = seed;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

// A display UUID that stays the same for the same screen name, run after run.
std::string uuidFor(const std::string& name) {
    std::uint64_t a = fnv1a(name, 14695981039346656037ULL);
    std::uint64_t b = fnv1a(name, a ^ 0x9E3779B97F4A7C15ULL);
    char text[40];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%04X-%012llX", unsigned(a >> 32),
                  unsigned((a >> 16) & 0xFFFF), unsigned(a & 0xFFFF), unsigned(b >> 48),
                  static_cast<unsigned long long>(b & 0xFFFFFFFFFFFFULL));
    return text;
}

}  // namespace

SimWorld::SimWorld(SimMainLoop& loop, SimEventLog& events)
    : loop_(loop),
      events_(events),
      observers_(loop),
      workspaceHandlers_(loop),
      systemHandlers_(loop),
      mouseMonitors_(loop) {
    systemWide_ = ElementRef{nextId_++};
    for (auto type : {InputEventType::leftMouseUp, InputEventType::keyDown,
                      InputEventType::mouseMoved, InputEventType::any}) {
        lastInput_[type] = 0;
    }
}

// ---- Screens ----

const SimScreen* SimWorld::screen(std::string_view name) const {
    for (const auto& s : screens_) {
        if (s.name == name) {
            return &s;
        }
    }
    return nullptr;
}

SimResult SimWorld::addScreen(const std::string& name, Rect frame,
                              std::optional<Rect> visibleFrame) {
    if (screen(name) != nullptr) {
        return SimResult::refused("screen " + name + " is already connected");
    }
    if (frame.isEmpty()) {
        return SimResult::refused("screen " + name + " has an empty frame");
    }
    auto [it, added] = displayIDs_.emplace(name, std::uint32_t(displayIDs_.size() + 1));
    SimScreen s;
    s.name = name;
    s.frame = frame;
    s.visibleFrame = visibleFrame.value_or(
        Rect(frame.x, frame.y + 25, frame.width, std::max(0.0, frame.height - 25)));
    s.displayID = it->second;
    s.uuid = uuidFor(name);
    screens_.push_back(s);
    systemHandlers_.post(SystemEvent::screenParametersChanged);
    return SimResult::done();
}

SimResult SimWorld::removeScreen(const std::string& name) {
    auto it = std::find_if(screens_.begin(), screens_.end(),
                           [&](const SimScreen& s) { return s.name == name; });
    if (it == screens_.end()) {
        return SimResult::refused("unknown screen " + name);
    }
    screens_.erase(it);
    systemHandlers_.post(SystemEvent::screenParametersChanged);
    return SimResult::done();
}

std::vector<Rect> SimWorld::screenRects() const {
    std::vector<Rect> rects;
    for (const auto& s : screens_) {
        rects.push_back(s.frame);
    }
    return rects;
}

double SimWorld::primaryScreenHeight() const {
    return screens_.empty() ? 0 : screens_.front().frame.height;
}

Rect SimWorld::flip(const Rect& r) const {
    return flipped(r, primaryScreenHeight());
}

Point SimWorld::flip(Point p) const {
    return flipped(p, primaryScreenHeight());
}

bool SimWorld::isOnScreen(const Rect& frame) const {
    for (const auto& s : screens_) {
        Rect overlap = s.frame.intersection(frame);
        if (!overlap.isEmpty() && overlap.width >= 40 && overlap.height >= 20) {
            return true;
        }
    }
    return false;
}

Point SimWorld::clampIntoScreens(const Rect& frame) const {
    if (screens_.empty()) {
        return frame.origin();
    }
    double left = screens_.front().frame.minX();
    double top = screens_.front().frame.minY();
    double right = screens_.front().frame.maxX();
    double bottom = screens_.front().frame.maxY();
    for (const auto& s : screens_) {
        left = std::min(left, s.frame.minX());
        top = std::min(top, s.frame.minY());
        right = std::max(right, s.frame.maxX());
        bottom = std::max(bottom, s.frame.maxY());
    }
    // The far edge first, so that a frame larger than the bounds keeps its top-left corner in.
    return {std::max(left, std::min(frame.x, right - frame.width)),
            std::max(top, std::min(frame.y, bottom - frame.height))};
}

// ---- Applications ----

SimApp* SimWorld::app(AppRef ref) {
    auto it = apps_.find(ref.id);
    return it == apps_.end() ? nullptr : &it->second;
}

const SimApp* SimWorld::app(AppRef ref) const {
    auto it = apps_.find(ref.id);
    return it == apps_.end() ? nullptr : &it->second;
}

SimApp* SimWorld::runningApp(Pid pid) {
    SimApp* latest = latestApp(pid);
    return latest != nullptr && !latest->terminated ? latest : nullptr;
}

SimApp* SimWorld::latestApp(Pid pid) {
    for (auto it = launchOrder_.rbegin(); it != launchOrder_.rend(); ++it) {
        SimApp* a = app(*it);
        if (a->pid == pid) {
            return a;
        }
    }
    return nullptr;
}

std::optional<AppRef> SimWorld::frontmost() const {
    return frontmost_;
}

SimResult SimWorld::launch(Pid pid, const std::string& name, std::optional<std::string> bundleID,
                           ActivationPolicy policy, AppRef* launched) {
    if (pid <= 0) {
        return SimResult::refused("pid must be positive");
    }
    if (runningApp(pid) != nullptr) {
        return SimResult::refused("pid " + std::to_string(pid) + " is already running");
    }
    // Application handles come from the same counter as elements, so that no two handles of any
    // kind share a number; that makes a handle confused for another kind easy to spot in tests.
    SimApp a;
    a.ref = AppRef{nextId_++};
    a.pid = pid;
    a.name = name;
    a.bundleID = std::move(bundleID);
    a.policy = policy;
    apps_.emplace(a.ref.id, a);
    launchOrder_.push_back(a.ref);
    if (launched != nullptr) {
        *launched = a.ref;
    }
    workspaceHandlers_.post(WorkspaceAppEvent::didLaunch, a.ref);
    return SimResult::done();
}

void SimWorld::terminate(AppRef ref) {
    SimApp* a = app(ref);
    if (a == nullptr || a->terminated) {
        return;
    }
    a->terminated = true;
    a->focused = {};
    // The windows go with the process; nobody is told about each of them, as with a real exit.
    for (auto& [id, w] : windows_) {
        if (w.app == ref && !w.closed) {
            w.closed = true;
        }
    }
    std::erase_if(stack_, [&](ElementRef e) { return windows_.at(e.id).app == ref; });
    stackChanged();
    if (frontmost_ == ref) {
        activateNextAfter(ref);
    }
    workspaceHandlers_.post(WorkspaceAppEvent::didTerminate, ref);
}

bool SimWorld::activate(AppRef ref) {
    SimApp* a = app(ref);
    if (a == nullptr || a->terminated) {
        return false;
    }
    unhide(ref);
    makeFrontmost(ref);
    return true;
}

void SimWorld::makeFrontmost(AppRef ref) {
    std::erase(activations_, ref);
    activations_.push_back(ref);
    // An activated application's windows come forward together, keeping their order.
    std::stable_partition(stack_.begin(), stack_.end(),
                          [&](ElementRef e) { return windows_.at(e.id).app == ref; });
    stackChanged();
    if (frontmost_ != ref) {
        frontmost_ = ref;
        postAX(applicationElement(app(ref)->pid), ax::notification::kApplicationActivated,
               applicationElement(app(ref)->pid));
        workspaceHandlers_.post(WorkspaceAppEvent::didActivate, ref);
    }
}

void SimWorld::activateNextAfter(AppRef leaving) {
    for (auto it = activations_.rbegin(); it != activations_.rend(); ++it) {
        const SimApp* a = app(*it);
        if (*it != leaving && !a->terminated && !a->hidden &&
            a->policy != ActivationPolicy::prohibited) {
            makeFrontmost(*it);
            return;
        }
    }
    frontmost_.reset();
}

bool SimWorld::hide(AppRef ref) {
    SimApp* a = app(ref);
    if (a == nullptr || a->terminated) {
        return false;
    }
    if (!a->hidden) {
        a->hidden = true;
        ElementRef element = applicationElement(a->pid);
        postAX(element, ax::notification::kApplicationHidden, element);
        if (frontmost_ == ref) {
            activateNextAfter(ref);
        }
    }
    return true;
}

bool SimWorld::unhide(AppRef ref) {
    SimApp* a = app(ref);
    if (a == nullptr || a->terminated) {
        return false;
    }
    if (a->hidden) {
        a->hidden = false;
        ElementRef element = applicationElement(a->pid);
        postAX(element, ax::notification::kApplicationShown, element);
    }
    return true;
}

// ---- Windows ----

SimWindow* SimWorld::window(ElementRef element) {
    auto it = windows_.find(element.id);
    return it == windows_.end() ? nullptr : &it->second;
}

SimWindow* SimWorld::liveWindow(ElementRef element) {
    SimWindow* w = window(element);
    return w != nullptr && !w->closed ? w : nullptr;
}

WindowNumber SimWorld::nextFreeNumber() {
    auto inUse = [&](WindowNumber n) {
        for (const auto& [id, w] : windows_) {
            if (!w.closed && w.number == n) {
                return true;
            }
        }
        return false;
    };
    while (inUse(nextNumber_)) {
        ++nextNumber_;
    }
    return nextNumber_++;
}

ElementRef SimWorld::openWindow(AppRef owner, const SimWindowSpec& description) {
    SimApp* a = app(owner);
    if (a == nullptr || a->terminated) {
        return {};
    }
    SimWindow w;
    w.element = ElementRef{nextId_++};
    w.app = owner;
    w.pid = a->pid;
    w.title = description.title;
    w.frame = description.frame;
    w.subrole = description.subrole;
    w.number = description.number ? *description.number : nextFreeNumber();
    windows_.emplace(w.element.id, w);
    stack_.insert(stack_.begin(), w.element);
    stackChanged();
    ElementRef appElement = applicationElement(a->pid);
    postAX(appElement, ax::notification::kWindowCreated, w.element);
    setFocused(*a, w.element);
    return w.element;
}

void SimWorld::closeWindow(ElementRef element) {
    SimWindow* w = liveWindow(element);
    if (w == nullptr) {
        return;
    }
    w->closed = true;
    std::erase(stack_, element);
    stackChanged();
    postAX(element, ax::notification::kElementDestroyed, element);
    refocusAfterLoss(*app(w->app), element);
}

void SimWorld::moveWindow(ElementRef element, Point origin) {
    SimWindow* w = liveWindow(element);
    if (w == nullptr || w->frame.origin() == origin) {
        return;
    }
    w->frame.x = origin.x;
    w->frame.y = origin.y;
    postAX(element, ax::notification::kWindowMoved, element);
}

void SimWorld::resizeWindow(ElementRef element, Size size) {
    SimWindow* w = liveWindow(element);
    if (w == nullptr || w->frame.size() == size) {
        return;
    }
    w->frame.width = size.width;
    w->frame.height = size.height;
    postAX(element, ax::notification::kWindowResized, element);
}

void SimWorld::setMinimized(ElementRef element, bool minimized) {
    SimWindow* w = liveWindow(element);
    if (w == nullptr || w->minimized == minimized) {
        return;
    }
    w->minimized = minimized;
    if (minimized) {
        postAX(element, ax::notification::kWindowMiniaturized, element);
        refocusAfterLoss(*app(w->app), element);
    } else {
        postAX(element, ax::notification::kWindowDeminiaturized, element);
        // A window coming back from the Dock comes to the front with the keyboard focus.
        raiseAndFocus(element);
    }
}

void SimWorld::raiseAndFocus(ElementRef element) {
    SimWindow* w = liveWindow(element);
    if (w == nullptr) {
        return;
    }
    bringToFront(element);
    setFocused(*app(w->app), element);
}

void SimWorld::setTitle(ElementRef element, const std::string& title) {
    SimWindow* w = liveWindow(element);
    if (w == nullptr || w->title == title) {
        return;
    }
    w->title = title;
    postAX(element, ax::notification::kTitleChanged, element);
}

void SimWorld::bringToFront(ElementRef element) {
    std::erase(stack_, element);
    stack_.insert(stack_.begin(), element);
    stackChanged();
}

void SimWorld::setFocused(SimApp& a, ElementRef element) {
    if (a.focused == element) {
        return;
    }
    a.focused = element;
    ElementRef appElement = applicationElement(a.pid);
    ElementRef about = element ? element : appElement;
    postAX(appElement, ax::notification::kFocusedWindowChanged, about);
    postAX(appElement, ax::notification::kMainWindowChanged, about);
}

// The focused window went away (closed or minimised): the next window of the application that
// is still on the desktop takes the focus, as the window manager does; none when there is none.
void SimWorld::refocusAfterLoss(SimApp& a, ElementRef lost) {
    if (a.focused != lost) {
        return;
    }
    for (ElementRef e : windowsOf(a.ref)) {
        if (e != lost && !windows_.at(e.id).minimized) {
            setFocused(a, e);
            return;
        }
    }
    setFocused(a, {});
}

std::vector<ElementRef> SimWorld::windowsOf(AppRef owner) const {
    // Asked for every application on every pass over the desktop, while the stack changes far
    // less often: sorting it by application once per change keeps a pass linear in the windows.
    if (stackByAppStale_) {
        stackByApp_.clear();
        for (ElementRef e : stack_) {
            stackByApp_[windows_.at(e.id).app.id].push_back(e);
        }
        stackByAppStale_ = false;
    }
    auto it = stackByApp_.find(owner.id);
    return it != stackByApp_.end() ? it->second : std::vector<ElementRef>{};
}

bool SimWorld::isVisible(const SimWindow& w) const {
    const SimApp* a = app(w.app);
    return !w.closed && !w.minimized && a != nullptr && !a->hidden && !a->terminated;
}

ElementRef SimWorld::windowAt(Point p) const {
    for (ElementRef e : stack_) {
        const SimWindow& w = windows_.at(e.id);
        if (isVisible(w) && w.frame.contains(p)) {
            return e;
        }
    }
    return {};
}

// ---- Elements and the permission ----

ElementRef SimWorld::applicationElement(Pid pid) {
    auto [it, added] = appElements_.emplace(pid, ElementRef{});
    if (added) {
        it->second = ElementRef{nextId_++};
        appElementPids_.emplace(it->second.id, pid);
    }
    return it->second;
}

std::optional<Pid> SimWorld::applicationElementPid(ElementRef element) const {
    auto it = appElementPids_.find(element.id);
    return it != appElementPids_.end() ? std::optional<Pid>(it->second) : std::nullopt;
}

double SimWorld::messagingTimeout(Pid pid) const {
    auto it = appTimeouts_.find(pid);
    return it != appTimeouts_.end() ? it->second : timeout_;
}

void SimWorld::setMessagingTimeout(Pid pid, std::optional<double> seconds) {
    if (seconds) {
        appTimeouts_[pid] = *seconds;
    } else {
        appTimeouts_.erase(pid);
    }
}

void SimWorld::postAX(ElementRef on, std::string_view notification, ElementRef about) {
    observers_.post(on, std::string(notification), about);
}

// ---- Pointer and input ----

void SimWorld::recordInput(InputEventType type) {
    lastInput_[type] = loop_.now();
    lastInput_[InputEventType::any] = loop_.now();
}

TimePoint SimWorld::lastInput(InputEventType type) const {
    return lastInput_.at(type);
}

void SimWorld::movePointer(Point p) {
    pointer_ = p;
    recordInput(InputEventType::mouseMoved);
    mouseMonitors_.post(SimMouseEvent::moved, flip(p));
}

void SimWorld::pointerEvent(SimPointerAction action, Point p) {
    pointer_ = p;
    // A drag is input but not a mouse-moved event (the platform reports it as its own type).
    if (action == SimPointerAction::up) {
        recordInput(InputEventType::leftMouseUp);
    } else {
        lastInput_[InputEventType::any] = loop_.now();
    }
    if (interceptor_) {
        auto interceptor = interceptor_;
        if (interceptor(action, p)) {
            return;
        }
    }
    // A press on another application's window brings that window and its application forward.
    if (action == SimPointerAction::down) {
        ElementRef hit = windowAt(p);
        if (hit) {
            AppRef owner = windows_.at(hit.id).app;
            raiseAndFocus(hit);
            activate(owner);
        }
    }
}

// ---- The program ----

SimResult SimWorld::programStarted(Pid pid, const std::string& name) {
    if (program_) {
        return SimResult::refused("the program is already running");
    }
    AppRef ref;
    SimResult launched =
        launch(pid, name, std::string("com.plovek.nimbrel"), ActivationPolicy::accessory, &ref);
    if (!launched) {
        return launched;
    }
    program_ = ref;
    programPid_ = pid;
    return SimResult::done();
}

void SimWorld::programEnded() {
    // Everything the process registered dies with it, and so does the work it had queued.
    observers_.clear();
    workspaceHandlers_.clear();
    systemHandlers_.clear();
    mouseMonitors_.clear();
    interceptor_ = nullptr;
    loop_.discardAll();
    appTimeouts_.clear();
    timeout_ = 1.0;
    if (program_) {
        terminate(*program_);
        program_.reset();
    }
}

void SimWorld::replyToTermination(bool terminate) {
    events_.emit(terminate ? "quit done" : "quit cancelled");
    if (terminateReply_) {
        auto handler = terminateReply_;
        handler(terminate);
    }
}

}  // namespace nimbrel::sim
