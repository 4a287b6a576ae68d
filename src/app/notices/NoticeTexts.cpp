#include "app/notices/NoticeTexts.h"

namespace nimbrel {

HUDContent NoticeTexts::resumed() const {
    return {strings_.text("hud.resumed.title"_key), strings_.text("hud.resumed.detail"_key)};
}

HUDContent NoticeTexts::focusOn(const std::vector<std::string>& keptApps) const {
    std::string title = strings_.text("hud.focusOn.title"_key);
    if (keptApps.empty()) {
        return {title, strings_.text("hud.focusOn.none"_key)};
    }
    std::string names;
    for (const auto& name : keptApps) {
        names += names.empty() ? name : ", " + name;
    }
    return {title, strings_.text("hud.focusOn.kept"_key, {names})};
}

HUDContent NoticeTexts::focusOff() const {
    return {strings_.text("hud.focusOff.title"_key), strings_.text("hud.focusOff.detail"_key)};
}

HUDContent NoticeTexts::designated(const std::string& label,
                                   const std::optional<std::string>& hideAllKeys) const {
    std::string hint = hideAllKeys ? strings_.text("hud.designated.keys"_key, {*hideAllKeys})
                                   : strings_.text("hud.designated.noShortcut"_key);
    return {strings_.text("hud.designated.title"_key),
            strings_.text("hud.designated.detail"_key, {label, hint})};
}

HUDContent NoticeTexts::wholeApp(const std::string& appName) const {
    return {strings_.text("hud.wholeApp.title"_key),
            strings_.text("hud.wholeApp.detail"_key, {appName})};
}

HUDContent NoticeTexts::unassigned(const std::string& label) const {
    return {strings_.text("hud.unassigned.title"_key), label};
}

HUDContent NoticeTexts::regionSaved(const std::string& name,
                                    const std::optional<std::string>& regionCoverKeys) const {
    return {strings_.text("hud.region.saved.title"_key, {name}),
            regionCoverKeys ? strings_.text("hud.region.saved.keys"_key, {*regionCoverKeys})
                            : strings_.text("hud.region.saved.menu"_key)};
}

HUDContent NoticeTexts::regionApplied(long long placed, long long missing) const {
    // With nothing placed the detail still says why, next to the beep.
    bool sayMissing = missing > 0 || placed == 0;
    return {strings_.text("hud.region.applied.title"_key, {placed}),
            sayMissing ? strings_.text("hud.region.applied.missing"_key, {missing}) : ""};
}

HUDContent NoticeTexts::regionNone() const {
    return {strings_.text("hud.region.none.title"_key),
            strings_.text("hud.region.none.detail"_key)};
}

}  // namespace nimbrel
