#pragma once

#include "platform/Accessibility.h"
#include "platform/sim/SimWorld.h"

namespace nimbrel::sim {

// The accessibility interface over the simulated desktop. Application elements answer "AXWindows",
// "AXFocusedWindow", "AXMainWindow", "AXFrontmost", "AXHidden", "AXTitle" and "AXRole"; windows
// answer "AXRole", "AXSubrole", "AXTitle", "AXPosition", "AXSize", "AXMinimized" and "AXMain";
// the system-wide element answers "AXFocusedApplication". An attribute with no value (no focused
// window) reads as failure, as the platform's no-value error does.
class SimAccessibility final : public Accessibility {
  public:
    explicit SimAccessibility(SimWorld& world) : world_(world) {}
    SimAccessibility(const SimAccessibility&) = delete;
    SimAccessibility& operator=(const SimAccessibility&) = delete;

    bool isProcessTrusted() override { return world_.isTrusted(); }
    bool requestTrust() override;
    ElementRef applicationElement(Pid pid) override { return world_.applicationElement(pid); }
    ElementRef systemWideElement() override { return world_.systemWideElement(); }
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
    void destroyObserver(ObserverRef observer) override { world_.observers().destroy(observer); }

  private:
    // What an element stands for once the permission, its validity and its application's
    // responsiveness have been checked.
    struct Target {
        AXError error = AXError::success;
        SimApp* app = nullptr;        // set for application and window elements
        SimWindow* window = nullptr;  // set for window elements
        bool systemWide = false;
    };
    Target resolve(ElementRef element);

    AXError copyApplicationAttribute(SimApp& app, std::string_view attribute, AXValue& value);
    AXError copyWindowAttribute(SimWindow& w, std::string_view attribute, AXValue& value);
    AXError setApplicationAttribute(SimApp& app, std::string_view attribute, const AXValue& value);
    AXError setWindowAttribute(SimWindow& w, std::string_view attribute, const AXValue& value);

    SimWorld& world_;
};

}  // namespace nimbrel::sim
