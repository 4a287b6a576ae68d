#include "app/screenshare/ScreenShareDetector.h"

#include <string>
#include <vector>

#include "app/screenshare/ScreenShareHint.h"
#include "platform/AccessibilityNames.h"

namespace nimbrel {

bool ScreenShareDetector::isScreenSharing() {
    if (!accessibility_.isProcessTrusted()) {
        return false;
    }
    Pid ownPid = workspace_.ownProcessID();
    for (AppRef app : workspace_.runningApplications()) {
        if (isExamined(app, ownPid) && hasSharingTitle(workspace_.processID(app))) {
            return true;
        }
    }
    return false;
}

bool ScreenShareDetector::isExamined(AppRef app, Pid ownPid) {
    if (workspace_.isTerminated(app) || workspace_.processID(app) == ownPid) {
        return false;
    }
    if (workspace_.activationPolicy(app) == ActivationPolicy::regular) {
        return true;
    }
    auto bundle = workspace_.bundleIdentifier(app);
    return bundle && ScreenShareHint::meetingApps().count(*bundle) != 0;
}

bool ScreenShareDetector::hasSharingTitle(Pid pid) {
    AXValue windows;
    if (accessibility_.copyAttributeValue(accessibility_.applicationElement(pid),
                                          ax::attribute::kWindows, windows) != AXError::success) {
        return false;
    }
    const auto* list = std::get_if<std::vector<ElementRef>>(&windows);
    if (list == nullptr) {
        return false;
    }
    // Every window, not only the standard ones: sharing banners are floating panels.
    for (ElementRef window : *list) {
        AXValue title;
        if (accessibility_.copyAttributeValue(window, ax::attribute::kTitle, title) !=
            AXError::success) {
            continue;
        }
        const auto* text = std::get_if<std::string>(&title);
        if (text != nullptr && ScreenShareHint::matches(CaselessText(*text, folding_), folding_)) {
            return true;
        }
    }
    return false;
}

}  // namespace nimbrel
