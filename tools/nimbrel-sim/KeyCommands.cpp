#include "KeyCommands.h"

#include <string>
#include <vector>

#include "CommandFamily.h"
#include "Console.h"
#include "Values.h"
#include "platform/sim/SimDesktop.h"
#include "settings/KeyCombo.h"

namespace nimbrel::console {
namespace {

using sim::SimDesktop;
using sim::SimKeyboardLayout;

// A hold longer than this is a typing slip; auto-repeat would run for ever on the virtual clock.
constexpr double kLongestHold = 3600;

SimKeyboardLayout::Combo combo(const CommandContext& c, std::size_t i) {
    auto parsed = SimKeyboardLayout::parseCombo(c.arg(i));
    if (!parsed) {
        c.fail("not a key combination: " + c.arg(i) +
               " (modifiers ctrl, opt, shift, cmd joined by + to one key)");
    }
    return *parsed;
}

std::string displayText(SimDesktop& desktop, std::uint32_t keyCode, std::uint32_t modifiers) {
    return KeyCombo{keyCode, modifiers}.displayText(desktop.keyboardLayout());
}

void down(SimDesktop& desktop, const SimKeyboardLayout::Combo& k) {
    desktop.keyboard().keyDown(k.keyCode, k.modifiers, k.eventFlags);
}

void up(SimDesktop& desktop, const SimKeyboardLayout::Combo& k) {
    desktop.keyboard().keyUp(k.keyCode, k.modifiers, k.eventFlags);
}

std::vector<std::string> keyboardLine(SimDesktop& desktop) {
    const auto& last = desktop.keyboard().lastDelivery();
    std::string tap = desktop.keyboard().hasTap() ? "on" : "off";
    if (!last) {
        return {"keyboard last=none action=none to=none tap=" + tap};
    }
    std::string to = last->target == sim::SimKeyTarget::app
                         ? std::to_string(last->pid)
                         : sim::SimKeyboard::targetName(last->target);
    return {"keyboard last=" + displayText(desktop, last->stroke.keyCode, last->stroke.modifiers) +
            " action=" + (last->stroke.down ? "down" : "up") + " to=" + to + " tap=" + tap};
}

void keyPress(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    auto k = combo(c, 1);
    down(desktop, k);
    up(desktop, k);
}

void keyDown(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    down(desktop, combo(c, 1));
}

void keyUp(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    up(desktop, combo(c, 1));
}

void keyHold(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(3, 3);
    auto k = combo(c, 1);
    double seconds = c.number(2);
    if (seconds < 0 || seconds > kLongestHold) {
        c.fail("a key is held between 0 and 3600 seconds, not " + c.arg(2));
    }
    down(desktop, k);
    desktop.advanceTime(seconds);
    up(desktop, k);
}

template <bool taken>
void keyTaken(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    auto k = combo(c, 1);
    desktop.hotKeys().setTaken(k.keyCode, k.modifiers, taken);
}

constexpr Verb<SimDesktop> kKeyVerbs[] = {
    {"press", keyPress}, {"down", keyDown},         {"up", keyUp},
    {"hold", keyHold},   {"taken", keyTaken<true>}, {"free", keyTaken<false>},
};

std::vector<std::string> hotkeys(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    std::vector<std::string> lines;
    for (const auto& r : desktop.hotKeys().registrations()) {
        lines.push_back("hotkey " + std::to_string(r.identity.id) + " " +
                        displayText(desktop, r.keyCode, r.modifiers));
    }
    return lines;
}

std::vector<std::string> keyboard(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    return keyboardLine(desktop);
}

constexpr Query<SimDesktop> kKeyQueries[] = {
    {"hotkeys", hotkeys},
    {"keyboard", keyboard},
};

}  // namespace

void registerKeyCommands(Console& console, SimDesktop& desktop) {
    console.addCommand("key", commandFamily(desktop, kKeyVerbs));
    addQueries(console, desktop, kKeyQueries);
}

}  // namespace nimbrel::console
