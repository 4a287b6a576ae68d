// The menus that open from the status menu's items, and the Dock menu, each built as it opens.

#include <algorithm>
#include <string>
#include <vector>

#include "app/AttemptDate.h"
#include "app/StatusMenu.h"

namespace nimbrel {
namespace {

// The regions' applications, each once in the order met, a free region as the screen.
std::string savedCoverSummary(const Localizer& strings, const SavedCover& cover) {
    std::vector<std::string> names;
    for (const auto& region : cover.regions) {
        std::string name =
            region.window ? region.window->appName : strings.text("region.screenName"_key);
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(std::move(name));
        }
    }
    std::string joined;
    for (const auto& name : names) {
        joined += (joined.empty() ? "" : ", ") + name;
    }
    return strings.text("region.saved.summary"_key,
                        {static_cast<long long>(cover.regions.size()), joined});
}

}  // namespace

Menu StatusMenu::attemptsMenu() const {
    const Localizer& strings = services_.strings;
    Menu menu;
    const auto& entries = services_.attempts.entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        menu.items.push_back(header(strings.text(
            "menu.attemptRow"_key,
            {attemptDateText(it->date), AttemptsLog::reasonText(strings, it->reason), it->label})));
    }
    menu.items.push_back(MenuItem::separator());
    menu.items.push_back(
        item(strings.text("menu.clearAttempts"_key), [this] { actions_.clearAttempts(); }));
    return menu;
}

Menu StatusMenu::savedCoversMenu() const {
    const Localizer& strings = services_.strings;
    Menu menu;
    for (const auto& cover : services_.store.savedCovers().get()) {
        Uuid id = cover.id;
        MenuItem entry = item(cover.name, [this, id] { actions_.applySavedCover(id); });
        entry.toolTip = savedCoverSummary(strings, cover);
        menu.items.push_back(std::move(entry));
    }
    menu.items.push_back(MenuItem::separator());
    menu.items.push_back(item(strings.text("menu.regionCoverApplyAll"_key) +
                                  holdSuffix(services_.store.regionCoverCombo().get()),
                              [this] { actions_.applySavedCovers(); }));
    return menu;
}

Menu StatusMenu::buildDesignateMenu() {
    Menu menu;
    std::vector<WindowRef> windows;
    bool trusted = services_.accessibility.isProcessTrusted();
    if (trusted) {
        windows = services_.minimizer.access().allWindows();
    }
    for (const auto& window : windows) {
        MenuItem entry = item(services_.minimizer.access().label(window),
                              [this, window] { actions_.designateItem(window); });
        entry.checked = services_.bindings.designatingBinding(window).has_value();
        menu.items.push_back(std::move(entry));
    }
    if (windows.empty()) {
        menu.items.push_back(header(services_.strings.text(
            trusted ? "menu.empty.noWindows"_key : "menu.empty.needAccessibility"_key)));
    }
    return menu;
}

Menu StatusMenu::buildDockMenu() {
    const Localizer& strings = services_.strings;
    Menu menu;
    menu.items.push_back(
        item(strings.text("menu.hideFocused"_key), [this] { actions_.hideFocused(); }));
    if (!services_.store.bindings().get().empty()) {
        menu.items.push_back(
            item(strings.text("menu.hideAll"_key), [this] { actions_.hideAllDesignated(); }));
    }
    MenuItem restore =
        item(strings.text("menu.restoreAll"_key), [this] { actions_.restoreAllDesignated(); });
    restore.enabled = !services_.minimizer.hidden().minimized().empty();
    menu.items.push_back(std::move(restore));
    menu.items.push_back(MenuItem::separator());
    addRegionCovers(menu, Keys::hidden);
    menu.items.push_back(MenuItem::separator());
    menu.items.push_back(
        item(strings.text("menu.settings"_key), [this] { actions_.openSettings(); }));
    return menu;
}

}  // namespace nimbrel
