#include "platform/sim/SimMenuText.h"

namespace nimbrel::sim {
namespace {

std::string keyText(const MenuKeyEquivalent& key) {
    std::string text;
    if (key.modifiers & MenuKeyEquivalent::kControl) {
        text += "⌃";
    }
    if (key.modifiers & MenuKeyEquivalent::kOption) {
        text += "⌥";
    }
    if (key.modifiers & MenuKeyEquivalent::kShift) {
        text += "⇧";
    }
    if (key.modifiers & MenuKeyEquivalent::kCommand) {
        text += "⌘";
    }
    return text + key.key;
}

void describeInto(const Menu& menu, int depth, std::vector<std::string>& lines) {
    std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (const auto& item : menu.items) {
        if (item.kind == MenuItem::Kind::separator) {
            lines.push_back(indent + "---");
            continue;
        }
        std::string line = indent + item.title;
        if (!item.enabled) {
            line += " [disabled]";
        }
        if (item.checked) {
            line += " [checked]";
        }
        if (item.keyEquivalent) {
            line += " [key=" + keyText(*item.keyEquivalent) + "]";
        }
        if (item.indentation > 0) {
            line += " [indent=" + std::to_string(item.indentation) + "]";
        }
        lines.push_back(std::move(line));
        if (item.submenu) {
            describeInto(item.submenu(), depth + 1, lines);
        }
    }
}

}  // namespace

std::vector<std::string> describeMenu(const Menu& menu) {
    std::vector<std::string> lines;
    describeInto(menu, 0, lines);
    return lines;
}

std::optional<MenuItem> findMenuItem(const Menu& menu, const std::vector<std::string>& path,
                                     std::string& why) {
    if (path.empty()) {
        why = "no item named";
        return std::nullopt;
    }
    Menu current = menu;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const MenuItem* found = nullptr;
        for (const auto& item : current.items) {
            if (item.kind == MenuItem::Kind::item && item.title == path[i]) {
                found = &item;
                break;
            }
        }
        if (found == nullptr) {
            why = "no menu item \"" + path[i] + "\"";
            return std::nullopt;
        }
        if (i + 1 == path.size()) {
            return *found;
        }
        if (!found->submenu) {
            why = "\"" + path[i] + "\" has no submenu";
            return std::nullopt;
        }
        // Copied before the next level replaces the menu that holds it.
        MenuBuilder open = found->submenu;
        current = open();
    }
    return std::nullopt;
}

}  // namespace nimbrel::sim
