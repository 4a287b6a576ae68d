#include "platform/sim/SimScreens.h"

namespace nimbrel::sim {

std::vector<Screen> SimScreens::screens() {
    std::vector<Screen> result;
    for (const auto& s : world_.screens()) {
        result.push_back(
            Screen{world_.flip(s.frame), world_.flip(s.visibleFrame), s.displayID, s.uuid});
    }
    return result;
}

std::optional<Screen> SimScreens::mainScreen() {
    auto all = screens();
    if (all.empty()) {
        return std::nullopt;
    }
    return all.front();
}

}  // namespace nimbrel::sim
