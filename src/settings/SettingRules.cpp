#include "settings/SettingRules.h"

#include <set>

#include "settings/TextRules.h"

namespace nimbrel::rule {
namespace {

template <typename Record>
void keepFirstOfEachId(std::vector<Record>& records) {
    std::set<Uuid> seen;
    std::erase_if(records, [&](const Record& record) { return !seen.insert(record.id).second; });
}

}  // namespace

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

std::vector<WindowBinding> Bindings::corrected(std::vector<WindowBinding> bindings) {
    keepFirstOfEachId(bindings);
    for (auto& binding : bindings) {
        if (!Shortcut::accepts(binding.combo)) {
            binding.combo.reset();
        }
    }
    return bindings;
}

std::vector<SavedCover> SavedCovers::corrected(std::vector<SavedCover> covers) {
    for (auto& cover : covers) {
        std::erase_if(cover.regions,
                      [](const SavedCover::Region& region) { return !region.hasCoverExtent(); });
    }
    std::erase_if(covers, [](const SavedCover& cover) { return cover.regions.empty(); });
    keepFirstOfEachId(covers);
    return covers;
}

}  // namespace nimbrel::rule
