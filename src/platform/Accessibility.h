#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handles.h"

namespace nimbrel {

enum class AXError {
    success,
    failure,
    illegalArgument,
    invalidElement,
    attributeUnsupported,
    actionUnsupported,
    cannotComplete,  // the application did not answer within the messaging timeout
    notImplemented,
    apiDisabled,  // the program is not trusted for accessibility
};

// An attribute value as the accessibility interface carries it. Point and Size are the two
// "AXValue" kinds the program reads; everything else is a plain value or an element.
using AXValue = std::variant<std::monostate, bool, double, std::string, Point, Size, ElementRef,
                             std::vector<ElementRef>>;

// Called on the main loop with the element the notification is about and the notification's name.
using AXObserverCallback = std::function<void(ElementRef element, const std::string& notification)>;

// Access to other applications' windows. Every call may fail; a call to an application that does
// not answer fails with cannotComplete after the messaging timeout.
class Accessibility {
  public:
    virtual ~Accessibility() = default;

    virtual bool isProcessTrusted() = 0;
    // Shows the platform's own permission request when not trusted yet; answers whether trusted
    // now.
    virtual bool requestTrust() = 0;

    // The same process always yields an equal application element.
    virtual ElementRef applicationElement(Pid pid) = 0;
    virtual ElementRef systemWideElement() = 0;
    virtual AXError setMessagingTimeout(ElementRef element, double seconds) = 0;

    virtual AXError copyAttributeValue(ElementRef element, std::string_view attribute,
                                       AXValue& value) = 0;
    // Success means that the application accepted the write, not that it did what was asked: a
    // window may stay where it is, or a window manager may clamp it to the screens. Callers that
    // depend on the outcome read the value back; implementations report the window where it is.
    virtual AXError setAttributeValue(ElementRef element, std::string_view attribute,
                                      const AXValue& value) = 0;
    virtual AXError performAction(ElementRef element, std::string_view action) = 0;
    virtual AXError processID(ElementRef element, Pid& pid) = 0;
    // The window-server number of a window element; 0 when it has none.
    virtual AXError windowNumber(ElementRef element, WindowNumber& number) = 0;

    // One observer per process; the callback runs until the observer is destroyed, and only for the
    // element/notification pairs added to it. A null handle means the observer could not be made.
    virtual ObserverRef createObserver(Pid pid, AXObserverCallback callback) = 0;
    virtual AXError addNotification(ObserverRef observer, ElementRef element,
                                    std::string_view notification) = 0;
    virtual AXError removeNotification(ObserverRef observer, ElementRef element,
                                       std::string_view notification) = 0;
    virtual void destroyObserver(ObserverRef observer) = 0;
};

}  // namespace nimbrel
