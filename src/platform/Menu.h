#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace nimbrel {

// The key a menu item answers to while its menu is open, with its modifier keys.
struct MenuKeyEquivalent {
    static constexpr std::uint32_t kControl = 1;
    static constexpr std::uint32_t kOption = 2;
    static constexpr std::uint32_t kShift = 4;
    static constexpr std::uint32_t kCommand = 8;

    // What the key types, lower-cased (",", "q", "w").
    std::string key;
    std::uint32_t modifiers = kCommand;

    friend bool operator==(const MenuKeyEquivalent&, const MenuKeyEquivalent&) = default;
};

struct Menu;
// Builds a menu at the moment it is about to open, so that it shows the state of that moment.
using MenuBuilder = std::function<Menu()>;

// One entry of a menu, as the program describes it; each implementation draws it in its own
// toolkit. The action runs on the main loop when the user chooses the item. The program makes every
// action with its lifetime guard, so a menu the platform still shows after its owner is gone does
// nothing when chosen.
struct MenuItem {
    enum class Kind { item, separator };
    // Who answers the item: the program's own action, or the application's quit, which runs the
    // program's quit decision as any other request to quit does.
    enum class Role { action, quitApplication };

    Kind kind = Kind::item;
    Role role = Role::action;
    std::string title;
    std::function<void()> action;
    std::optional<MenuKeyEquivalent> keyEquivalent;
    bool enabled = true;
    bool checked = false;
    int indentation = 0;
    std::string toolTip;
    // A submenu, built each time it opens; none for a plain item.
    MenuBuilder submenu;

    static MenuItem separator() {
        MenuItem item;
        item.kind = Kind::separator;
        return item;
    }
};

struct Menu {
    std::vector<MenuItem> items;
};

}  // namespace nimbrel
