#include "MenuCommands.h"

#include <string>
#include <vector>

#include "CommandFamily.h"
#include "Console.h"
#include "ProgramHost.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimMenuText.h"

namespace nimbrel::console {
namespace {

sim::SimDesktop& requireRunning(ProgramHost& host, CommandContext& c) {
    if (!host.isRunning()) {
        c.fail("the program is not running");
    }
    return c.console().desktop();
}

// Opens the status menu as a click on the icon does: only an icon in the bar can be clicked.
Menu openStatusMenu(ProgramHost& host, CommandContext& c) {
    sim::SimDesktop& desktop = requireRunning(host, c);
    const sim::SimStatusItemState* item = desktop.statusBar().item();
    if (item == nullptr) {
        c.fail("the program has no status item");
    }
    if (!item->visible) {
        c.fail("the status item is hidden");
    }
    auto menu = desktop.statusBar().openMenu();
    if (!menu) {
        c.fail("the status item has no menu");
    }
    return *menu;
}

// The Dock shows the program's icon, and so its menu, only while it is a regular application.
Menu openDockMenu(ProgramHost& host, CommandContext& c) {
    sim::SimDesktop& desktop = requireRunning(host, c);
    if (desktop.application().activationPolicy() != ActivationPolicy::regular) {
        c.fail("the program shows no Dock icon");
    }
    auto menu = desktop.dockMenu().openMenu();
    if (!menu) {
        c.fail("the program gave the Dock no menu");
    }
    return *menu;
}

void printMenu(Console& console, const Menu& menu) {
    for (const auto& line : sim::describeMenu(menu)) {
        console.print(line);
    }
}

// TITLE [> TITLE...]: the titles along the way, each one word (quoted when it has spaces).
std::vector<std::string> clickPath(CommandContext& c) {
    std::vector<std::string> path;
    bool wantTitle = true;
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (wantTitle == (c.arg(i) == ">")) {
            c.fail("expected TITLE [> TITLE...]");
        }
        if (wantTitle) {
            path.push_back(c.arg(i));
        }
        wantTitle = !wantTitle;
    }
    if (path.empty() || wantTitle) {
        c.fail("expected TITLE [> TITLE...]");
    }
    return path;
}

void click(ProgramHost& host, CommandContext& c, const Menu& menu) {
    std::string why;
    auto item = sim::findMenuItem(menu, clickPath(c), why);
    if (!item) {
        c.fail(why);
    }
    if (item->submenu) {
        c.fail("\"" + item->title + "\" opens a submenu");
    }
    if (!item->enabled) {
        c.fail("\"" + item->title + "\" is disabled");
    }
    if (item->role == MenuItem::Role::quitApplication) {
        host.quit();
        return;
    }
    if (item->action) {
        item->action();
    }
}

void menuShow(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    printMenu(c.console(), openStatusMenu(host, c));
}

void menuClick(ProgramHost& host, CommandContext& c) {
    click(host, c, openStatusMenu(host, c));
}

void dockShow(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    printMenu(c.console(), openDockMenu(host, c));
}

void dockClick(ProgramHost& host, CommandContext& c) {
    click(host, c, openDockMenu(host, c));
}

constexpr Verb<ProgramHost> kMenuCommands[] = {
    {"menu show", menuShow},
    {"menu click", menuClick},
    {"dock show", dockShow},
    {"dock click", dockClick},
};

const std::string* lineContaining(const std::vector<std::string>& lines, const std::string& text) {
    for (const auto& line : lines) {
        if (line.find(text) != std::string::npos) {
            return &line;
        }
    }
    return nullptr;
}

Console::Verdict menuExpectation(ProgramHost& host, CommandContext& c) {
    std::string text = c.rest(0);
    auto lines = sim::describeMenu(openStatusMenu(host, c));
    std::string all;
    for (const auto& line : lines) {
        all += (all.empty() ? "" : " | ") + line;
    }
    return Console::Verdict{lineContaining(lines, text) != nullptr, all};
}

Console::Verdict noMenuExpectation(ProgramHost& host, CommandContext& c) {
    std::string text = c.rest(0);
    auto lines = sim::describeMenu(openStatusMenu(host, c));
    const std::string* line = lineContaining(lines, text);
    return Console::Verdict{line == nullptr, line != nullptr ? *line : ""};
}

constexpr Expectation<ProgramHost> kMenuExpectations[] = {
    {"menu", menuExpectation},
    {"no-menu", noMenuExpectation},
};

}  // namespace

void registerMenuCommands(Console& console, ProgramHost& host) {
    addCommands(console, host, kMenuCommands);
    addExpectations(console, host, kMenuExpectations);
}

}  // namespace nimbrel::console
