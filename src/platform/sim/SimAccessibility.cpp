#include "platform/sim/SimAccessibility.h"

#include <string>

#include "platform/AccessibilityNames.h"

namespace nimbrel::sim {

bool SimAccessibility::requestTrust() {
    if (!world_.isTrusted()) {
        world_.events().emit("accessibility prompt");
    }
    return world_.isTrusted();
}

AXError SimAccessibility::setMessagingTimeout(ElementRef element, double seconds) {
    if (!world_.isTrusted()) {
        return AXError::apiDisabled;
    }
    if (seconds < 0) {
        return AXError::illegalArgument;
    }
    // 0 goes back to the default, as on the platform.
    if (element == world_.systemWideElement()) {
        world_.setMessagingTimeout(seconds > 0 ? seconds : 1.0);
        return AXError::success;
    }
    if (auto pid = world_.applicationElementPid(element)) {
        world_.setMessagingTimeout(*pid,
                                   seconds > 0 ? std::optional<double>(seconds) : std::nullopt);
        return AXError::success;
    }
    return world_.liveWindow(element) != nullptr ? AXError::success : AXError::invalidElement;
}

SimAccessibility::Target SimAccessibility::resolve(ElementRef element) {
    Target target;
    if (!world_.isTrusted()) {
        target.error = AXError::apiDisabled;
        return target;
    }
    if (element == world_.systemWideElement()) {
        target.systemWide = true;
        return target;
    }
    if (auto pid = world_.applicationElementPid(element)) {
        target.app = world_.runningApp(*pid);
    } else if (SimWindow* w = world_.liveWindow(element)) {
        target.window = w;
        target.app = world_.app(w->app);
    }
    if (target.app == nullptr) {
        target.error = AXError::invalidElement;
        return target;
    }
    if (target.app->hung) {
        // The call blocks until the messaging timeout runs out; nothing else runs meanwhile.
        world_.loop().elapse(world_.messagingTimeout(target.app->pid));
        target.error = AXError::cannotComplete;
    }
    return target;
}

AXError SimAccessibility::copyAttributeValue(ElementRef element, std::string_view attribute,
                                             AXValue& value) {
    value = std::monostate{};
    Target target = resolve(element);
    if (target.error != AXError::success) {
        return target.error;
    }
    if (target.systemWide) {
        if (attribute == ax::attribute::kFocusedApplication) {
            auto front = world_.frontmost();
            if (!front) {
                return AXError::failure;
            }
            value = world_.applicationElement(world_.app(*front)->pid);
            return AXError::success;
        }
        if (attribute == ax::attribute::kRole) {
            value = std::string(ax::role::kSystemWide);
            return AXError::success;
        }
        return AXError::attributeUnsupported;
    }
    if (target.window != nullptr) {
        return copyWindowAttribute(*target.window, attribute, value);
    }
    return copyApplicationAttribute(*target.app, attribute, value);
}

AXError SimAccessibility::copyApplicationAttribute(SimApp& app, std::string_view attribute,
                                                   AXValue& value) {
    if (attribute == ax::attribute::kWindows) {
        value = world_.windowsOf(app.ref);
    } else if (attribute == ax::attribute::kFocusedWindow ||
               attribute == ax::attribute::kMainWindow) {
        if (!app.focused) {
            return AXError::failure;
        }
        value = app.focused;
    } else if (attribute == ax::attribute::kFrontmost) {
        value = world_.frontmost() == app.ref;
    } else if (attribute == ax::attribute::kHidden) {
        value = app.hidden;
    } else if (attribute == ax::attribute::kTitle) {
        value = app.name;
    } else if (attribute == ax::attribute::kRole) {
        value = std::string(ax::role::kApplication);
    } else {
        return AXError::attributeUnsupported;
    }
    return AXError::success;
}

AXError SimAccessibility::copyWindowAttribute(SimWindow& w, std::string_view attribute,
                                              AXValue& value) {
    struct Readable {
        std::string_view attribute;
        const char* failName;
    };
    static constexpr Readable failable[] = {
        {ax::attribute::kPosition, "position"},   {ax::attribute::kSize, "size"},
        {ax::attribute::kMinimized, "minimized"}, {ax::attribute::kTitle, "title"},
        {ax::attribute::kSubrole, "subrole"},     {ax::attribute::kRole, "role"},
    };
    for (const auto& r : failable) {
        if (r.attribute == attribute && w.fails(r.failName)) {
            return AXError::failure;
        }
    }
    if (attribute == ax::attribute::kPosition) {
        value = w.frame.origin();
    } else if (attribute == ax::attribute::kSize) {
        value = w.frame.size();
    } else if (attribute == ax::attribute::kMinimized) {
        value = w.minimized;
    } else if (attribute == ax::attribute::kTitle) {
        value = w.title;
    } else if (attribute == ax::attribute::kSubrole) {
        value = w.subrole;
    } else if (attribute == ax::attribute::kRole) {
        value = w.role;
    } else if (attribute == ax::attribute::kMain || attribute == ax::attribute::kFocused) {
        value = world_.app(w.app)->focused == w.element;
    } else {
        return AXError::attributeUnsupported;
    }
    return AXError::success;
}

AXError SimAccessibility::setAttributeValue(ElementRef element, std::string_view attribute,
                                            const AXValue& value) {
    Target target = resolve(element);
    if (target.error != AXError::success) {
        return target.error;
    }
    if (target.systemWide) {
        return AXError::attributeUnsupported;
    }
    if (target.window != nullptr) {
        return setWindowAttribute(*target.window, attribute, value);
    }
    return setApplicationAttribute(*target.app, attribute, value);
}

AXError SimAccessibility::setApplicationAttribute(SimApp& app, std::string_view attribute,
                                                  const AXValue& value) {
    const bool* flag = std::get_if<bool>(&value);
    if (attribute == ax::attribute::kFrontmost) {
        if (flag == nullptr) {
            return AXError::illegalArgument;
        }
        // Only true does something: an application cannot be made to stop being frontmost.
        if (*flag) {
            world_.activate(app.ref);
        }
        return AXError::success;
    }
    if (attribute == ax::attribute::kHidden) {
        if (flag == nullptr) {
            return AXError::illegalArgument;
        }
        *flag ? world_.hide(app.ref) : world_.unhide(app.ref);
        return AXError::success;
    }
    if (attribute == ax::attribute::kWindows || attribute == ax::attribute::kFocusedWindow ||
        attribute == ax::attribute::kTitle || attribute == ax::attribute::kRole ||
        attribute == ax::attribute::kMainWindow) {
        return AXError::illegalArgument;  // read-only
    }
    return AXError::attributeUnsupported;
}

AXError SimAccessibility::setWindowAttribute(SimWindow& w, std::string_view attribute,
                                             const AXValue& value) {
    ElementRef element = w.element;
    if (attribute == ax::attribute::kPosition) {
        const Point* p = std::get_if<Point>(&value);
        if (p == nullptr) {
            return AXError::illegalArgument;
        }
        if (w.fails("position")) {
            return AXError::failure;
        }
        // A pinned window's application accepts the write and ignores it; a clamped one ends up
        // as near to the point as it can while wholly inside the screens' bounds.
        if (w.clamped) {
            world_.moveWindow(element, world_.clampIntoScreens(Rect(*p, w.frame.size())));
        } else if (!w.pinned) {
            world_.moveWindow(element, *p);
        }
        return AXError::success;
    }
    if (attribute == ax::attribute::kSize) {
        const Size* s = std::get_if<Size>(&value);
        if (s == nullptr || s->width < 0 || s->height < 0) {
            return AXError::illegalArgument;
        }
        if (w.fails("size")) {
            return AXError::failure;
        }
        world_.resizeWindow(element, *s);
        return AXError::success;
    }
    if (attribute == ax::attribute::kMinimized) {
        const bool* b = std::get_if<bool>(&value);
        if (b == nullptr) {
            return AXError::illegalArgument;
        }
        if (w.fails("minimized")) {
            return AXError::failure;
        }
        world_.setMinimized(element, *b);
        return AXError::success;
    }
    if (attribute == ax::attribute::kMain) {
        const bool* b = std::get_if<bool>(&value);
        if (b == nullptr) {
            return AXError::illegalArgument;
        }
        if (*b) {
            world_.raiseAndFocus(element);
        }
        return AXError::success;
    }
    if (attribute == ax::attribute::kTitle || attribute == ax::attribute::kSubrole ||
        attribute == ax::attribute::kRole) {
        return w.fails(attribute == ax::attribute::kTitle     ? "title"
                       : attribute == ax::attribute::kSubrole ? "subrole"
                                                              : "role")
                   ? AXError::failure
                   : AXError::illegalArgument;  // read-only
    }
    return AXError::attributeUnsupported;
}

AXError SimAccessibility::performAction(ElementRef element, std::string_view action) {
    Target target = resolve(element);
    if (target.error != AXError::success) {
        return target.error;
    }
    if (target.window == nullptr || action != ax::action::kRaise) {
        return AXError::actionUnsupported;
    }
    world_.raiseAndFocus(element);
    return AXError::success;
}

AXError SimAccessibility::processID(ElementRef element, Pid& pid) {
    pid = 0;
    Target target = resolve(element);
    if (target.error != AXError::success) {
        return target.error;
    }
    if (target.systemWide) {
        return AXError::illegalArgument;
    }
    pid = target.app->pid;
    return AXError::success;
}

AXError SimAccessibility::windowNumber(ElementRef element, WindowNumber& number) {
    number = 0;
    Target target = resolve(element);
    if (target.error != AXError::success) {
        return target.error;
    }
    if (target.window == nullptr) {
        return AXError::illegalArgument;
    }
    if (target.window->fails("number")) {
        return AXError::failure;
    }
    number = target.window->number;
    return AXError::success;
}

ObserverRef SimAccessibility::createObserver(Pid pid, AXObserverCallback callback) {
    if (!world_.isTrusted() || world_.runningApp(pid) == nullptr || !callback) {
        return {};
    }
    return world_.observers().create(pid, std::move(callback));
}

AXError SimAccessibility::addNotification(ObserverRef observer, ElementRef element,
                                          std::string_view notification) {
    if (!world_.observers().exists(observer)) {
        return AXError::illegalArgument;
    }
    Target target = resolve(element);
    if (target.error != AXError::success) {
        return target.error;
    }
    // An observer watches the elements of its own process only.
    if (target.systemWide || target.app->pid != world_.observers().pidOf(observer)) {
        return AXError::illegalArgument;
    }
    // Adding a pair twice leaves one registration; the platform reports that as done.
    world_.observers().add(observer, element, std::string(notification));
    return AXError::success;
}

AXError SimAccessibility::removeNotification(ObserverRef observer, ElementRef element,
                                             std::string_view notification) {
    if (!world_.observers().exists(observer)) {
        return AXError::illegalArgument;
    }
    if (!world_.isTrusted()) {
        return AXError::apiDisabled;
    }
    // Removing works for a window that has gone (the registration is the observer's own record),
    // but a live element of an application that does not answer costs the timeout like any call.
    SimWindow* w = world_.liveWindow(element);
    auto appPid = world_.applicationElementPid(element);
    SimApp* owner = w != nullptr ? world_.app(w->app)
                    : appPid     ? world_.runningApp(*appPid)
                                 : nullptr;
    if (owner != nullptr && owner->hung) {
        world_.loop().elapse(world_.messagingTimeout(owner->pid));
        return AXError::cannotComplete;
    }
    if (!world_.observers().remove(observer, element, std::string(notification))) {
        return AXError::failure;
    }
    return AXError::success;
}

}  // namespace nimbrel::sim
