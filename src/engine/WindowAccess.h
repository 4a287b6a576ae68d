#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/WindowKey.h"
#include "engine/WindowRef.h"
#include "platform/Accessibility.h"
#include "platform/AccessibilityNames.h"
#include "platform/Localizer.h"
#include "platform/Screens.h"
#include "platform/Workspace.h"

namespace nimbrel {

// The engine's vocabulary for other applications' windows: every read answers absent on any
// failure, every write reports the platform's error, and none of it keeps state.
class WindowAccess {
  public:
    WindowAccess(Accessibility& ax, Workspace& workspace, Screens& screens,
                 const Localizer& strings)
        : ax_(ax), workspace_(workspace), screens_(screens), strings_(strings) {}

    bool isTrusted() { return ax_.isProcessTrusted(); }
    bool requestTrust() { return ax_.requestTrust(); }

    std::optional<std::string> stringAttribute(std::string_view attribute, ElementRef element);
    std::optional<Point> position(ElementRef element);
    std::optional<Size> size(ElementRef element);
    std::optional<bool> isMinimized(ElementRef element);
    std::optional<ElementRef> focusedWindowElement(ElementRef application);
    std::vector<ElementRef> standardWindows(ElementRef application);
    std::optional<WindowNumber> windowNumber(ElementRef element);
    std::optional<Pid> processID(ElementRef element);
    // The window still exists when it answers its role.
    bool answersRole(ElementRef element) {
        return stringAttribute(ax::attribute::kRole, element).has_value();
    }

    AXError setPosition(Point point, ElementRef element);
    AXError setMinimized(bool minimized, ElementRef element);
    AXError setBool(std::string_view attribute, bool value, ElementRef element);
    AXError raise(ElementRef element) { return ax_.performAction(element, ax::action::kRaise); }

    ElementRef applicationElement(AppRef app) {
        return ax_.applicationElement(workspace_.processID(app));
    }
    // The title, or the empty string when it cannot be read.
    std::string title(ElementRef element) {
        return stringAttribute(ax::attribute::kTitle, element).value_or("");
    }

    // The frontmost application's focused window; never one of this program's own.
    std::optional<WindowRef> focusedWindow();

    // Screens in accessibility space (top-left origin of the primary screen, y down), in the
    // platform's order.
    std::vector<Rect> screenRects();
    static Rect toAccessibility(const Rect& screenFrame, double primaryHeight) {
        return {screenFrame.minX(), primaryHeight - screenFrame.maxY(), screenFrame.width,
                screenFrame.height};
    }
    // At least 40 x 20 points on some screen; a window whose frame cannot be read counts as shown.
    bool isOnScreen(ElementRef element);
    static bool isOnScreen(const Rect& frame, const std::vector<Rect>& screens);
    // One point inside the bottom-right corner of the bounding box of all screens.
    Point parkingPoint();
    static Point parkingPoint(const std::vector<Rect>& screens);

    std::string label(const WindowRef& window);

    // Regular applications other than this program, in the workspace's order.
    std::vector<AppRef> candidateApplications();
    std::vector<WindowRef> allWindows();

    std::optional<WindowKey> key(const WindowRef& window);
    std::optional<WindowRef> resolve(const WindowKey& key);

    Workspace& workspace() { return workspace_; }
    Screens& screens() { return screens_; }
    Accessibility& accessibility() { return ax_; }

  private:
    bool copy(ElementRef element, std::string_view attribute, AXValue& value);

    Accessibility& ax_;
    Workspace& workspace_;
    Screens& screens_;
    const Localizer& strings_;
};

}  // namespace nimbrel
