#include "platform/x11/X11Accessibility.h"

#include <xcb/xcb_aux.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/AccessibilityNames.h"
#include "platform/x11/Elements.h"

namespace nimbrel::x11 {
namespace {

// A manager answers within a millisecond or two; the wait must not add more than that.
constexpr auto kPollInterval = std::chrono::milliseconds(1);
constexpr double kLongestTimeout = 3600;

std::string_view subroleFor(const std::string& type) {
    if (type.empty() || type == "_NET_WM_WINDOW_TYPE_NORMAL") {
        return ax::subrole::kStandardWindow;
    }
    if (type == "_NET_WM_WINDOW_TYPE_DIALOG") {
        return ax::subrole::kDialog;
    }
    if (type == "_NET_WM_WINDOW_TYPE_UTILITY" || type == "_NET_WM_WINDOW_TYPE_TOOLBAR") {
        return ax::subrole::kFloatingWindow;
    }
    // Docks, desktops, menus, splash screens and notices are not windows a user hides.
    return ax::subrole::kSystemDialog;
}

}  // namespace

ElementRef X11Accessibility::windowElement(xcb_window_t window) {
    return elements::window(window);
}

ElementRef X11Accessibility::applicationElement(Pid pid) {
    return elements::application(pid);
}

ElementRef X11Accessibility::systemWideElement() {
    return elements::systemWide();
}

AXError X11Accessibility::setMessagingTimeout(ElementRef element, double seconds) {
    // Beyond an hour a wait is no timeout at all (and no longer fits the clock's range).
    if (elements::target(element).kind == ElementTarget::Kind::none || !(seconds >= 0) ||
        seconds > kLongestTimeout) {
        return AXError::illegalArgument;
    }
    // One connection serves every application, so one timeout does too.
    timeout_ = seconds;
    return AXError::success;
}

std::vector<xcb_window_t> X11Accessibility::windowsOf(Pid pid) {
    std::vector<xcb_window_t> frontToBack;
    auto owned = windows_.ofProcess(pid);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        frontToBack.push_back(it->id);
    }
    return frontToBack;
}

std::optional<xcb_window_t> X11Accessibility::frontWindowOf(Pid pid) {
    xcb_window_t active = windows_.active();
    if (auto read = windows_.read(active); read && read->pid == pid) {
        return active;
    }
    auto owned = windowsOf(pid);
    if (owned.empty()) {
        return std::nullopt;
    }
    return owned.front();
}

AXError X11Accessibility::copyAttributeValue(ElementRef element, std::string_view attribute,
                                             AXValue& value) {
    ElementTarget t = elements::target(element);
    switch (t.kind) {
        case ElementTarget::Kind::window: {
            auto window = windows_.read(t.window);
            if (!window) {
                return AXError::invalidElement;
            }
            return windowAttribute(*window, attribute, value);
        }
        case ElementTarget::Kind::application:
            return applicationAttribute(t.pid, attribute, value);
        case ElementTarget::Kind::systemWide:
            if (attribute == ax::attribute::kRole) {
                value = std::string(ax::role::kSystemWide);
                return AXError::success;
            }
            if (attribute == ax::attribute::kFocusedApplication) {
                auto active = windows_.read(windows_.active());
                if (!active || active->pid == 0) {
                    return AXError::failure;
                }
                value = applicationElement(active->pid);
                return AXError::success;
            }
            return AXError::attributeUnsupported;
        case ElementTarget::Kind::none:
            break;
    }
    return AXError::invalidElement;
}

AXError X11Accessibility::windowAttribute(const ClientWindow& window, std::string_view attribute,
                                          AXValue& value) {
    if (attribute == ax::attribute::kRole) {
        value = std::string(ax::role::kWindow);
    } else if (attribute == ax::attribute::kSubrole) {
        value = std::string(subroleFor(window.type));
    } else if (attribute == ax::attribute::kTitle) {
        value = window.title;
    } else if (attribute == ax::attribute::kPosition) {
        value = screens_.layout().toAccessibility(window.frame.origin());
    } else if (attribute == ax::attribute::kSize) {
        value = window.frame.size();
    } else if (attribute == ax::attribute::kMinimized) {
        value = window.iconic;
    } else if (attribute == ax::attribute::kFocused) {
        value = windows_.active() == window.id;
    } else if (attribute == ax::attribute::kMain) {
        value = frontWindowOf(window.pid) == window.id;
    } else {
        return AXError::attributeUnsupported;
    }
    return AXError::success;
}

AXError X11Accessibility::applicationAttribute(Pid pid, std::string_view attribute,
                                               AXValue& value) {
    if (attribute == ax::attribute::kRole) {
        value = std::string(ax::role::kApplication);
        return AXError::success;
    }
    if (attribute == ax::attribute::kWindows) {
        std::vector<ElementRef> elements;
        for (xcb_window_t w : windowsOf(pid)) {
            elements.push_back(windowElement(w));
        }
        value = std::move(elements);
        return AXError::success;
    }
    if (attribute == ax::attribute::kFocusedWindow || attribute == ax::attribute::kMainWindow) {
        auto front = frontWindowOf(pid);
        if (!front) {
            return AXError::failure;
        }
        value = windowElement(*front);
        return AXError::success;
    }
    if (attribute == ax::attribute::kFrontmost) {
        auto active = windows_.read(windows_.active());
        value = active.has_value() && active->pid == pid;
        return AXError::success;
    }
    if (attribute == ax::attribute::kHidden) {
        // X has no hidden applications; the windows of one are iconified one by one.
        value = false;
        return AXError::success;
    }
    return AXError::attributeUnsupported;
}

bool X11Accessibility::awaitWindow(xcb_window_t window,
                                   const std::function<bool(const ClientWindow&)>& settled) {
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(timeout_));
    for (;;) {
        xcb_aux_sync(connection_.get());
        windows_.forget(window);
        auto read = windows_.read(window);
        if (!read) {
            return false;
        }
        if (settled(*read)) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

AXError X11Accessibility::setAttributeValue(ElementRef element, std::string_view attribute,
                                            const AXValue& value) {
    ElementTarget t = elements::target(element);
    if (t.kind == ElementTarget::Kind::application && attribute == ax::attribute::kFrontmost) {
        const bool* front = std::get_if<bool>(&value);
        auto window = frontWindowOf(t.pid);
        if (front == nullptr || !*front || !window) {
            return front == nullptr ? AXError::illegalArgument : AXError::cannotComplete;
        }
        windows_.activate(*window);
        return awaitWindow(*window,
                           [&](const ClientWindow&) { return windows_.active() == *window; })
                   ? AXError::success
                   : AXError::cannotComplete;
    }
    if (t.kind != ElementTarget::Kind::window) {
        return t.kind == ElementTarget::Kind::none ? AXError::invalidElement
                                                   : AXError::attributeUnsupported;
    }
    auto window = windows_.read(t.window);
    if (!window) {
        return AXError::invalidElement;
    }
    return setWindowAttribute(*window, attribute, value);
}

AXError X11Accessibility::setWindowAttribute(const ClientWindow& window, std::string_view attribute,
                                             const AXValue& value) {
    auto done = [](bool settled) { return settled ? AXError::success : AXError::cannotComplete; };
    if (attribute == ax::attribute::kPosition) {
        const Point* to = std::get_if<Point>(&value);
        if (to == nullptr) {
            return AXError::illegalArgument;
        }
        MonitorLayout layout = screens_.layout();
        Point origin = layout.fromAccessibility(*to);
        if (window.frame.origin() == origin) {
            return AXError::success;
        }
        bool parking = !layout.showsOnAnyMonitor(Rect(origin, window.frame.size()));
        marks_.beforeMove(window, parking);
        windows_.moveFrame(window, origin);
        // Any change is the manager's answer: where it put the window, clamped or not.
        bool settled = awaitWindow(window.id, [&](const ClientWindow& now) {
            return now.frame.origin() != window.frame.origin();
        });
        if (auto now = windows_.read(window.id);
            parking && now && layout.showsOnAnyMonitor(now->frame)) {
            // Clamped into sight: it is not parked, so it keeps its place in the taskbar.
            marks_.beforeMove(*now, false);
        }
        return done(settled);
    }
    const bool* on = std::get_if<bool>(&value);
    if (on == nullptr) {
        return AXError::illegalArgument;
    }
    if (attribute == ax::attribute::kMinimized) {
        if (window.iconic == *on) {
            return AXError::success;
        }
        if (*on) {
            windows_.iconify(window.id);
        } else {
            windows_.activate(window.id);
        }
        return done(
            awaitWindow(window.id, [&](const ClientWindow& now) { return now.iconic == *on; }));
    }
    if (attribute == ax::attribute::kMain || attribute == ax::attribute::kFocused) {
        if (!*on) {
            return AXError::success;
        }
        windows_.activate(window.id);
        return done(awaitWindow(
            window.id, [&](const ClientWindow&) { return windows_.active() == window.id; }));
    }
    return AXError::attributeUnsupported;
}

AXError X11Accessibility::performAction(ElementRef element, std::string_view action) {
    ElementTarget t = elements::target(element);
    if (t.kind != ElementTarget::Kind::window) {
        return t.kind == ElementTarget::Kind::none ? AXError::invalidElement
                                                   : AXError::actionUnsupported;
    }
    if (action != ax::action::kRaise) {
        return AXError::actionUnsupported;
    }
    if (!windows_.read(t.window)) {
        return AXError::invalidElement;
    }
    windows_.raise(t.window);
    return AXError::success;
}

AXError X11Accessibility::processID(ElementRef element, Pid& pid) {
    ElementTarget t = elements::target(element);
    if (t.kind == ElementTarget::Kind::application) {
        pid = t.pid;
        return AXError::success;
    }
    if (t.kind != ElementTarget::Kind::window) {
        return AXError::invalidElement;
    }
    auto window = windows_.read(t.window);
    if (!window) {
        return AXError::invalidElement;
    }
    pid = window->pid;
    return AXError::success;
}

AXError X11Accessibility::windowNumber(ElementRef element, WindowNumber& number) {
    ElementTarget t = elements::target(element);
    if (t.kind != ElementTarget::Kind::window) {
        return AXError::illegalArgument;
    }
    if (!windows_.read(t.window)) {
        return AXError::invalidElement;
    }
    number = t.window;
    return AXError::success;
}

ObserverRef X11Accessibility::createObserver(Pid pid, AXObserverCallback callback) {
    return observers_.create(pid, std::move(callback));
}

AXError X11Accessibility::addNotification(ObserverRef observer, ElementRef element,
                                          std::string_view notification) {
    return observers_.add(observer, element, notification);
}

AXError X11Accessibility::removeNotification(ObserverRef observer, ElementRef element,
                                             std::string_view notification) {
    return observers_.remove(observer, element, notification);
}

void X11Accessibility::destroyObserver(ObserverRef observer) {
    observers_.destroy(observer);
}

}  // namespace nimbrel::x11
