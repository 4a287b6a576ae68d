#include "app/StatusMenu.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace nimbrel {
namespace {

std::uint32_t menuModifiers(std::uint32_t mask) {
    std::uint32_t modifiers = 0;
    if (mask & KeyCombo::kControl) {
        modifiers |= MenuKeyEquivalent::kControl;
    }
    if (mask & KeyCombo::kOption) {
        modifiers |= MenuKeyEquivalent::kOption;
    }
    if (mask & KeyCombo::kShift) {
        modifiers |= MenuKeyEquivalent::kShift;
    }
    if (mask & KeyCombo::kCommand) {
        modifiers |= MenuKeyEquivalent::kCommand;
    }
    return modifiers;
}

}  // namespace

StatusMenu::StatusMenu(const MenuServices& services, MenuActions& actions)
    : services_(services), actions_(actions) {}

MenuItem StatusMenu::item(std::string title, std::function<void()> action) const {
    MenuItem result;
    result.title = std::move(title);
    if (action) {
        // A menu still on screen after the program's menus are gone does nothing when chosen.
        result.action = guard_.wrap(std::move(action));
    }
    return result;
}

MenuItem StatusMenu::header(std::string title) const {
    MenuItem result = item(std::move(title), nullptr);
    result.enabled = false;
    return result;
}

MenuItem StatusMenu::shortcutItem(std::string title, std::function<void()> action,
                                  const std::optional<KeyCombo>& combo, Keys keys) const {
    if (!combo || keys == Keys::hidden) {
        return item(std::move(title), std::move(action));
    }
    auto key = combo->menuKeyEquivalent(services_.keyboardLayout);
    if (!key) {
        return item(std::move(title) + "  (" + services_.store.displayText(*combo) + ")",
                    std::move(action));
    }
    MenuItem result = item(std::move(title), std::move(action));
    result.keyEquivalent = MenuKeyEquivalent{*key, menuModifiers(combo->modifiers)};
    return result;
}

std::string StatusMenu::holdSuffix(const std::optional<KeyCombo>& combo) const {
    if (!combo) {
        return {};
    }
    return services_.strings.text("menu.holdSuffix"_key, {services_.store.displayText(*combo)});
}

Menu StatusMenu::buildStatusMenu() {
    const Localizer& strings = services_.strings;
    SettingsStore& store = services_.store;
    services_.minimizer.prune();
    Menu menu;
    if (!services_.accessibility.isProcessTrusted()) {
        menu.items.push_back(item(strings.text("menu.accessibilityNeeded"_key),
                                  [this] { actions_.openAccessibilitySettings(); }));
        menu.items.push_back(MenuItem::separator());
    }
    if (!store.unavailable().get().empty()) {
        menu.items.push_back(
            item(strings.text("menu.shortcutConflict"_key), [this] { actions_.openSettings(); }));
        menu.items.push_back(MenuItem::separator());
    }
    addAttempts(menu);
    addFocusedWindow(menu);

    menu.items.push_back(shortcutItem(
        strings.text("menu.hideFocused"_key), [this] { actions_.hideFocused(); },
        store.focusedCombo().get()));
    MenuItem reopen =
        item(strings.text("menu.reopenLast"_key) + holdSuffix(store.focusedCombo().get()),
             [this] { actions_.restoreLast(); });
    reopen.enabled = !services_.minimizer.hidden().minimized().empty();
    menu.items.push_back(std::move(reopen));
    menu.items.push_back(MenuItem::separator());

    bool focusOn = services_.minimizer.hidden().focusActive();
    MenuItem focus = shortcutItem(
        strings.text(focusOn ? "menu.focusModeOff"_key : "menu.focusModeOn"_key),
        [this] { actions_.toggleFocusMode(); }, store.focusModeCombo().get());
    focus.checked = focusOn;
    menu.items.push_back(std::move(focus));
    menu.items.push_back(MenuItem::separator());

    addBindings(menu);
    std::string designateTitle = strings.text("menu.designateTitle"_key);
    if (const auto& combo = store.designateCombo().get()) {
        designateTitle +=
            strings.text("menu.designateCurrentSuffix"_key, {store.displayText(*combo)});
    }
    MenuItem designate = item(std::move(designateTitle), nullptr);
    designate.submenu = guard_.wrap([this] { return buildDesignateMenu(); });
    menu.items.push_back(std::move(designate));
    addRegionCovers(menu, Keys::shown);
    addHiddenWindows(menu);

    menu.items.push_back(MenuItem::separator());
    if (services_.canCheckForUpdates && services_.canCheckForUpdates()) {
        menu.items.push_back(
            item(strings.text("menu.checkForUpdates"_key), [this] { actions_.checkForUpdates(); }));
    }
    MenuItem settings =
        item(strings.text("menu.settings"_key), [this] { actions_.openSettings(); });
    settings.keyEquivalent = MenuKeyEquivalent{",", MenuKeyEquivalent::kCommand};
    menu.items.push_back(std::move(settings));
    MenuItem login =
        item(strings.text("menu.launchAtLogin"_key), [this] { actions_.toggleLaunchAtLogin(); });
    login.checked = services_.loginItem.status() == LoginItemStatus::enabled;
    menu.items.push_back(std::move(login));
    MenuItem quit = item(strings.text("menu.quit"_key), nullptr);
    quit.role = MenuItem::Role::quitApplication;
    quit.keyEquivalent = MenuKeyEquivalent{"q", MenuKeyEquivalent::kCommand};
    menu.items.push_back(std::move(quit));
    return menu;
}

void StatusMenu::addAttempts(Menu& menu) const {
    const auto& entries = services_.attempts.entries();
    if (entries.empty()) {
        return;
    }
    MenuItem parent = item(
        services_.strings.text("menu.attemptsTitle"_key, {static_cast<long long>(entries.size())}),
        nullptr);
    parent.submenu = guard_.wrap([this] { return attemptsMenu(); });
    menu.items.push_back(std::move(parent));
    menu.items.push_back(MenuItem::separator());
}

void StatusMenu::addFocusedWindow(Menu& menu) {
    menuFocusedWindow_.reset();
    if (services_.accessibility.isProcessTrusted()) {
        menuFocusedWindow_ = services_.minimizer.access().focusedWindow();
    }
    if (!menuFocusedWindow_) {
        return;
    }
    const Localizer& strings = services_.strings;
    std::string label = services_.minimizer.access().label(*menuFocusedWindow_);
    auto toggle = [this] { actions_.toggleDesignationFromMenu(menuFocusedWindow_); };
    auto whole = [this] { actions_.designateWholeAppFromMenu(menuFocusedWindow_); };
    auto binding = services_.bindings.designatingBinding(*menuFocusedWindow_);
    if (!binding) {
        MenuItem designate = shortcutItem(strings.text("menu.designateThisWindow"_key), toggle,
                                          services_.store.designateCombo().get());
        designate.toolTip = label;
        menu.items.push_back(std::move(designate));
        MenuItem app = item(strings.text("menu.designateWholeApp"_key), whole);
        app.toolTip = label;
        menu.items.push_back(std::move(app));
    } else {
        std::string title = strings.text("menu.thisWindowIsHidden"_key);
        if (binding->wholeApp) {
            title += strings.text("menu.suffix.wholeApp"_key);
        }
        if (binding->locked) {
            title += strings.text("menu.suffix.locked"_key);
        }
        title += strings.text("menu.suffix.removeDesignation"_key);
        MenuItem remove = item(std::move(title), toggle);
        remove.toolTip = label;
        menu.items.push_back(std::move(remove));
        if (!binding->wholeApp) {
            MenuItem expand = item(strings.text("menu.expandToWholeApp"_key), whole);
            expand.toolTip = label;
            menu.items.push_back(std::move(expand));
        }
    }
    menu.items.push_back(header("    " + label));
    menu.items.push_back(MenuItem::separator());
}

void StatusMenu::addBindings(Menu& menu) const {
    const auto& bindings = services_.store.bindings().get();
    if (bindings.empty()) {
        return;
    }
    const Localizer& strings = services_.strings;
    Workspace& workspace = services_.workspace;
    WindowMinimizer& minimizer = services_.minimizer;
    std::vector<AppRef> running = workspace.runningApplications();
    std::erase_if(running, [&](AppRef app) { return workspace.isTerminated(app); });
    std::vector<LiveApp> apps;
    apps.reserve(running.size());
    for (AppRef app : running) {
        apps.push_back(services_.bindings.liveApp(app));
    }

    menu.items.push_back(header(strings.text("menu.header.hidden"_key)));
    for (const auto& binding : bindings) {
        bool runs = std::any_of(apps.begin(), apps.end(),
                                [&](const LiveApp& app) { return binding.matchesApp(app); });
        std::vector<WindowRef> found = runs ? minimizer.windows(binding) : std::vector<WindowRef>{};
        std::string title = binding.locked ? "🔒 " : "";
        title += binding.label(strings);
        if (!runs) {
            title += "  " + strings.text("menu.binding.appClosed"_key);
        } else if (found.empty()) {
            title += "  " + strings.text("menu.binding.notFound"_key);
        }
        Uuid id = binding.id;
        MenuItem entry = shortcutItem(
            std::move(title), [this, id] { actions_.toggleItem(id); }, binding.combo);
        entry.enabled = !found.empty();
        entry.checked = !found.empty() &&
                        std::all_of(found.begin(), found.end(),
                                    [&](const WindowRef& w) { return minimizer.isConcealed(w); });
        entry.indentation = 1;
        menu.items.push_back(std::move(entry));
    }
    menu.items.push_back(shortcutItem(
        strings.text("menu.hideAll"_key), [this] { actions_.hideAllDesignated(); },
        services_.store.allCombo().get()));
}

void StatusMenu::addRegionCovers(Menu& menu, Keys keys) const {
    const Localizer& strings = services_.strings;
    SettingsStore& store = services_.store;
    menu.items.push_back(shortcutItem(
        strings.text("menu.regionCover"_key), [this] { actions_.startRegionCover(); },
        store.regionCoverCombo().get(), keys));
    if (services_.regionCoversOnScreen && services_.regionCoversOnScreen() > 0) {
        menu.items.push_back(item(strings.text("menu.regionCoverSave"_key),
                                  [this] { actions_.saveRegionCovers(); }));
        menu.items.push_back(shortcutItem(
            strings.text("menu.regionCoverClear"_key), [this] { actions_.clearRegionCovers(); },
            store.regionClearCombo().get(), keys));
    }
    if (!store.savedCovers().get().empty()) {
        MenuItem saved = item(strings.text("menu.regionCoverSaved"_key), nullptr);
        saved.submenu = guard_.wrap([this] { return savedCoversMenu(); });
        menu.items.push_back(std::move(saved));
    }
}

void StatusMenu::addHiddenWindows(Menu& menu) const {
    WindowMinimizer& minimizer = services_.minimizer;
    const auto& hidden = minimizer.hidden().minimized();
    if (hidden.empty()) {
        return;
    }
    menu.items.push_back(MenuItem::separator());
    menu.items.push_back(header(services_.strings.text("menu.header.minimized"_key)));
    for (auto it = hidden.rbegin(); it != hidden.rend(); ++it) {
        WindowRef window = *it;
        std::string title = minimizer.isLocked(window.element) ? "🔒 " : "";
        title += minimizer.access().label(window);
        MenuItem entry = item(std::move(title), [this, window] { actions_.restoreItem(window); });
        entry.indentation = 1;
        menu.items.push_back(std::move(entry));
    }
}

}  // namespace nimbrel
