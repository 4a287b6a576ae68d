#include "engine/WindowAccess.h"

#include <algorithm>
#include <limits>

#include "platform/AccessibilityNames.h"
#include "settings/WindowLabel.h"

namespace nimbrel {

namespace {
constexpr double kMinVisibleWidth = 40;
constexpr double kMinVisibleHeight = 20;
}  // namespace

bool WindowAccess::copy(ElementRef element, std::string_view attribute, AXValue& value) {
    return ax_.copyAttributeValue(element, attribute, value) == AXError::success;
}

std::optional<std::string> WindowAccess::stringAttribute(std::string_view attribute,
                                                         ElementRef element) {
    AXValue value;
    if (!copy(element, attribute, value)) {
        return std::nullopt;
    }
    if (auto* s = std::get_if<std::string>(&value)) {
        return *s;
    }
    return std::nullopt;
}

std::optional<Point> WindowAccess::position(ElementRef element) {
    AXValue value;
    if (!copy(element, ax::attribute::kPosition, value)) {
        return std::nullopt;
    }
    if (auto* p = std::get_if<Point>(&value)) {
        return *p;
    }
    return std::nullopt;
}

std::optional<Size> WindowAccess::size(ElementRef element) {
    AXValue value;
    if (!copy(element, ax::attribute::kSize, value)) {
        return std::nullopt;
    }
    if (auto* s = std::get_if<Size>(&value)) {
        return *s;
    }
    return std::nullopt;
}

std::optional<bool> WindowAccess::isMinimized(ElementRef element) {
    AXValue value;
    if (!copy(element, ax::attribute::kMinimized, value)) {
        return std::nullopt;
    }
    if (auto* b = std::get_if<bool>(&value)) {
        return *b;
    }
    return std::nullopt;
}

std::optional<ElementRef> WindowAccess::focusedWindowElement(ElementRef application) {
    AXValue value;
    if (!copy(application, ax::attribute::kFocusedWindow, value)) {
        return std::nullopt;
    }
    if (auto* e = std::get_if<ElementRef>(&value); e && *e) {
        return *e;
    }
    return std::nullopt;
}

std::vector<ElementRef> WindowAccess::standardWindows(ElementRef application) {
    AXValue value;
    if (!copy(application, ax::attribute::kWindows, value)) {
        return {};
    }
    auto* windows = std::get_if<std::vector<ElementRef>>(&value);
    if (windows == nullptr) {
        return {};
    }
    std::vector<ElementRef> result;
    for (ElementRef window : *windows) {
        auto subrole = stringAttribute(ax::attribute::kSubrole, window);
        // Sheets, floating panels and anything unreadable are not the user's windows.
        if (subrole &&
            (*subrole == ax::subrole::kStandardWindow || *subrole == ax::subrole::kDialog)) {
            result.push_back(window);
        }
    }
    return result;
}

std::optional<WindowNumber> WindowAccess::windowNumber(ElementRef element) {
    WindowNumber number = 0;
    if (ax_.windowNumber(element, number) != AXError::success || number == 0) {
        return std::nullopt;
    }
    return number;
}

std::optional<Pid> WindowAccess::processID(ElementRef element) {
    Pid pid = 0;
    if (ax_.processID(element, pid) != AXError::success || pid == 0) {
        return std::nullopt;
    }
    return pid;
}

AXError WindowAccess::setPosition(Point point, ElementRef element) {
    return ax_.setAttributeValue(element, ax::attribute::kPosition, AXValue(point));
}

AXError WindowAccess::setMinimized(bool minimized, ElementRef element) {
    return setBool(ax::attribute::kMinimized, minimized, element);
}

AXError WindowAccess::setBool(std::string_view attribute, bool value, ElementRef element) {
    return ax_.setAttributeValue(element, attribute, AXValue(value));
}

std::optional<WindowRef> WindowAccess::focusedWindow() {
    auto app = workspace_.frontmostApplication();
    if (!app) {
        return std::nullopt;
    }
    Pid pid = workspace_.processID(*app);
    if (pid == workspace_.ownProcessID()) {
        return std::nullopt;
    }
    auto window = focusedWindowElement(ax_.applicationElement(pid));
    if (!window) {
        return std::nullopt;
    }
    return WindowRef{*window, *app, title(*window)};
}

std::vector<Rect> WindowAccess::screenRects() {
    auto screens = screens_.screens();
    double primaryHeight = screens.empty() ? 0 : screens.front().frame.height;
    std::vector<Rect> rects;
    rects.reserve(screens.size());
    for (const auto& screen : screens) {
        rects.push_back(toAccessibility(screen.frame, primaryHeight));
    }
    return rects;
}

bool WindowAccess::isOnScreen(const Rect& frame, const std::vector<Rect>& screens) {
    return std::any_of(screens.begin(), screens.end(), [&](const Rect& screen) {
        Rect overlap = screen.intersection(frame);
        return !overlap.isEmpty() && overlap.width >= kMinVisibleWidth &&
               overlap.height >= kMinVisibleHeight;
    });
}

bool WindowAccess::isOnScreen(ElementRef element) {
    auto origin = position(element);
    auto extent = size(element);
    if (!origin || !extent) {
        return true;
    }
    return isOnScreen(Rect(*origin, *extent), screenRects());
}

Point WindowAccess::parkingPoint(const std::vector<Rect>& screens) {
    if (screens.empty()) {
        return {-1, -1};
    }
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();
    for (const auto& screen : screens) {
        maxX = std::max(maxX, screen.maxX());
        maxY = std::max(maxY, screen.maxY());
    }
    return {maxX - 1, maxY - 1};
}

Point WindowAccess::parkingPoint() {
    return parkingPoint(screenRects());
}

std::string WindowAccess::label(const WindowRef& window) {
    std::string appName =
        workspace_.localizedName(window.app).value_or(strings_.text("common.app"_key));
    return windowLabel(strings_, appName, window.title);
}

std::vector<AppRef> WindowAccess::candidateApplications() {
    Pid own = workspace_.ownProcessID();
    std::vector<AppRef> result;
    for (AppRef app : workspace_.runningApplications()) {
        if (workspace_.activationPolicy(app) == ActivationPolicy::regular &&
            workspace_.processID(app) != own && !workspace_.isTerminated(app)) {
            result.push_back(app);
        }
    }
    return result;
}

std::vector<WindowRef> WindowAccess::allWindows() {
    std::vector<WindowRef> result;
    for (AppRef app : candidateApplications()) {
        for (ElementRef window : standardWindows(applicationElement(app))) {
            result.push_back(WindowRef{window, app, title(window)});
        }
    }
    return result;
}

std::optional<WindowKey> WindowAccess::key(const WindowRef& window) {
    auto number = windowNumber(window.element);
    if (!number) {
        return std::nullopt;
    }
    return WindowKey{workspace_.processID(window.app), workspace_.bundleIdentifier(window.app),
                     *number};
}

std::optional<WindowRef> WindowAccess::resolve(const WindowKey& key) {
    auto app = workspace_.runningApplication(key.pid);
    if (!app || workspace_.isTerminated(*app)) {
        return std::nullopt;
    }
    if (key.bundleID && workspace_.bundleIdentifier(*app) != key.bundleID) {
        return std::nullopt;
    }
    for (ElementRef window : standardWindows(applicationElement(*app))) {
        if (windowNumber(window) == key.number) {
            return WindowRef{window, *app, title(window)};
        }
    }
    return std::nullopt;
}

}  // namespace nimbrel
