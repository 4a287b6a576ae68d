#include "settings/SettingRules.h"

#include "settings/TextRules.h"

namespace nimbrel::rule {

std::vector<std::string> Keywords::corrected(std::vector<std::string> keywords) {
    std::vector<std::string> kept;
    for (const auto& keyword : keywords) {
        std::string text = text::trimmedSpacesAndTabs(keyword);
        if (!text.empty()) {
            kept.push_back(std::move(text));
        }
    }
    return kept;
}

}  // namespace nimbrel::rule
