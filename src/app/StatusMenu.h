#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/MenuActions.h"
#include "app/MenuServices.h"
#include "engine/WindowRef.h"
#include "platform/LifetimeGuard.h"
#include "platform/Menu.h"
#include "settings/KeyCombo.h"

namespace nimbrel {

// Builds the status menu, its designate submenu and the Dock menu from scratch each time one
// opens, from the store, the engine and the attempts log, so that nothing shown is ever stale.
class StatusMenu {
  public:
    StatusMenu(const MenuServices& services, MenuActions& actions);
    StatusMenu(const StatusMenu&) = delete;
    StatusMenu& operator=(const StatusMenu&) = delete;

    Menu buildStatusMenu();
    Menu buildDesignateMenu();
    Menu buildDockMenu();

    // The window that was focused when the status menu was last built.
    const std::optional<WindowRef>& menuFocusedWindow() const { return menuFocusedWindow_; }

  private:
    // Whether an item shows its combination as a key equivalent (the status menu) or not at all
    // (the Dock menu).
    enum class Keys { shown, hidden };

    MenuItem item(std::string title, std::function<void()> action) const;
    MenuItem header(std::string title) const;
    // The combination as the item's key equivalent when a menu can show it, else in parentheses
    // after the title.
    MenuItem shortcutItem(std::string title, std::function<void()> action,
                          const std::optional<KeyCombo>& combo, Keys keys = Keys::shown) const;
    // The holding hint after a title, when the combination is set.
    std::string holdSuffix(const std::optional<KeyCombo>& combo) const;

    void addAttempts(Menu& menu) const;
    void addFocusedWindow(Menu& menu);
    void addBindings(Menu& menu) const;
    void addRegionCovers(Menu& menu, Keys keys) const;
    void addHiddenWindows(Menu& menu) const;
    Menu attemptsMenu() const;
    Menu savedCoversMenu() const;

    MenuServices services_;
    MenuActions& actions_;
    std::optional<WindowRef> menuFocusedWindow_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
