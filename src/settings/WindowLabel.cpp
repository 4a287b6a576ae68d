#include "settings/WindowLabel.h"

#include "platform/UnicodeText.h"

namespace nimbrel {

std::string windowLabel(const Localizer& strings, const std::string& appName,
                        const std::string& title) {
    std::string label =
        title.empty() ? appName : strings.text("window.label.titled"_key, {appName, title});
    return truncatedWithEllipsis(label, kWindowLabelLimit);
}

}  // namespace nimbrel
