#include "app/MenuActions.h"

#include <vector>

namespace nimbrel {

MenuActions::MenuActions(const MenuServices& services) : services_(services) {}

void MenuActions::openAccessibilitySettings() {
    if (!services_.systemSettings.openAccessibilityPane()) {
        services_.sound.beep();
    }
}

void MenuActions::openSettings() {
    if (services_.openSettings) {
        services_.openSettings();
    }
}

void MenuActions::clearAttempts() {
    services_.authenticate(services_.strings.text("auth.reason.clearAttempts"_key),
                           guard_.wrap([this](bool granted) {
                               if (granted) {
                                   services_.attempts.clear();
                               }
                           }));
}

void MenuActions::toggleDesignationFromMenu(const std::optional<WindowRef>& window) {
    if (!window) {
        services_.sound.beep();
        return;
    }
    services_.shortcuts.toggleDesignation(*window, true);
}

void MenuActions::designateWholeAppFromMenu(const std::optional<WindowRef>& window) {
    if (!window) {
        services_.sound.beep();
        return;
    }
    SettingsStore& store = services_.store;
    auto binding = services_.bindings.designatingBinding(*window);
    if (binding && binding->wholeApp) {
        return;
    }
    if (!binding) {
        Uuid id = store.designate(services_.bindings.liveWindow(*window));
        services_.minimizer.designate(window->element, id);
        binding = store.binding(id);
    }
    // Widening a designation never weakens a protection, so it does not ask.
    if (binding && !binding->wholeApp) {
        store.toggleWholeApp(binding->id);
    }
}

void MenuActions::hideFocused() {
    services_.shortcuts.hideFocusedWindow();
}

void MenuActions::restoreLast() {
    services_.minimizer.restoreLast([](bool) {});
}

void MenuActions::toggleFocusMode() {
    // Focus mode arrives with its subsystem; until then the item answers as its shortcut does.
    services_.sound.beep();
}

void MenuActions::toggleItem(const Uuid& id) {
    auto binding = services_.store.binding(id);
    if (!binding || !services_.accessibility.isProcessTrusted()) {
        services_.sound.beep();
        return;
    }
    WindowMinimizer& minimizer = services_.minimizer;
    auto windows = minimizer.windows(*binding);
    if (windows.empty()) {
        services_.sound.beep();
        return;
    }
    std::vector<WindowRef> shown;
    for (const auto& window : windows) {
        if (!minimizer.isConcealed(window)) {
            shown.push_back(window);
        }
    }
    if (shown.empty()) {
        minimizer.reveal(windows, RevealAuth::asNeeded, RevealPlace::onChosenScreen, [](bool) {});
        return;
    }
    Guard guard = binding->locked ? Guard::locked : Guard::unlocked;
    for (const auto& window : shown) {
        minimizer.hide(window, guard, hideStyle());
    }
}

void MenuActions::hideAllDesignated() {
    services_.triggers.hideAllBound(true);
}

void MenuActions::restoreAllDesignated() {
    services_.shortcuts.restoreAllDesignated();
}

void MenuActions::restoreItem(const WindowRef& window) {
    services_.minimizer.reveal({window}, RevealAuth::asNeeded, RevealPlace::onChosenScreen,
                               [](bool) {});
}

void MenuActions::designateItem(const WindowRef& window) {
    services_.shortcuts.toggleDesignation(window, false);
}

// Region covers and saved covers arrive with their subsystem; until then their items answer as
// their shortcuts do, with the beep.
void MenuActions::startRegionCover() {
    services_.sound.beep();
}

void MenuActions::saveRegionCovers() {
    services_.sound.beep();
}

void MenuActions::clearRegionCovers() {
    services_.sound.beep();
}

void MenuActions::applySavedCover(const Uuid&) {
    services_.sound.beep();
}

void MenuActions::applySavedCovers() {
    services_.sound.beep();
}

void MenuActions::checkForUpdates() {
    if (services_.checkForUpdates) {
        services_.checkForUpdates();
    }
}

void MenuActions::toggleLaunchAtLogin() {
    LoginItem& item = services_.loginItem;
    bool done =
        item.status() == LoginItemStatus::enabled ? item.unregisterItem() : item.registerItem();
    if (!done) {
        services_.sound.beep();
    }
}

HideStyle MenuActions::hideStyle() const {
    return services_.store.useCover().get() ? HideStyle::cover : HideStyle::outOfSight;
}

}  // namespace nimbrel
