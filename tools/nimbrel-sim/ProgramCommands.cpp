#include "ProgramCommands.h"

#include <set>

#include "Console.h"
#include "ProgramHost.h"
#include "SettingsCommands.h"
#include "Values.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {
namespace {

ProgramHost& running(ProgramHost& host, CommandContext& c) {
    if (!host.isRunning()) {
        c.fail("the program is not running");
    }
    return host;
}

WindowRef windowRef(sim::SimDesktop& desktop, ElementRef element) {
    const sim::SimWindow* state = desktop.windowState(element);
    return WindowRef{element, state ? state->app : AppRef{}, state ? state->title : ""};
}

// Flags after the windows: `locked`, `cover`, `force-auth`, `onscreen`.
std::set<std::string> flags(CommandContext& c, std::size_t from,
                            const std::set<std::string>& allowed) {
    std::set<std::string> found;
    for (std::size_t i = from; i < c.size(); ++i) {
        if (!allowed.count(c.arg(i))) {
            c.fail("unknown flag: " + c.arg(i));
        }
        found.insert(c.arg(i));
    }
    return found;
}

void emitResult(sim::SimDesktop& desktop, const std::string& value) {
    desktop.events().emit("result " + value);
}

std::string names(Console& console, const std::vector<WindowRef>& windows) {
    std::vector<std::string> items;
    for (const auto& w : windows) {
        items.push_back(console.names().nameOf(w.element));
    }
    return formatList(items);
}

void registerLifecycle(Console& console, sim::SimDesktop& desktop, ProgramHost& host) {
    console.addCommand("nimbrel start", [&host](CommandContext& c) {
        if (host.isRunning()) {
            c.fail("the program is already running");
        }
        auto options = c.options(0, {"lang", "updates"});
        ProgramHost::Options start;
        if (auto lang = options.find("lang"); lang != options.end()) {
            if (lang->second != "keys") {
                c.fail("unknown language: " + lang->second);
            }
            start.keysLanguage = true;
        }
        if (auto updates = options.find("updates"); updates != options.end()) {
            start.updates = parseOnOff(updates->second);
        }
        host.start(start);
    });
    console.addCommand("nimbrel quit", [&host](CommandContext& c) {
        c.expectArgs(0, 0);
        running(host, c).quit();
    });
    console.addCommand("nimbrel update-relaunch", [&host](CommandContext& c) {
        c.expectArgs(0, 0);
        running(host, c).updateRelaunch();
    });
    console.addCommand("nimbrel kill", [&host](CommandContext& c) {
        c.expectArgs(0, 0);
        running(host, c).kill();
    });
    console.addCommand("nimbrel reopen", [&host](CommandContext& c) {
        c.expectArgs(0, 0);
        running(host, c).reopen();
    });
    (void)desktop;
}

void registerEngine(Console& console, sim::SimDesktop& desktop, ProgramHost& host) {
    auto engine = [&host](CommandContext& c) -> WindowMinimizer& {
        return running(host, c).delegate().minimizer();
    };
    console.addCommand("engine hide", [&desktop, engine](CommandContext& c) {
        WindowMinimizer& m = engine(c);
        ElementRef element = c.window(0);
        auto f = flags(c, 1, {"locked", "cover"});
        bool hidden = m.hide(windowRef(desktop, element), f.count("locked"), f.count("cover"));
        emitResult(desktop, hidden ? "true" : "false");
    });
    console.addCommand("engine hide-focused", [&desktop, engine](CommandContext& c) {
        WindowMinimizer& m = engine(c);
        auto f = flags(c, 0, {"locked", "cover"});
        emitResult(desktop, m.hideFocused(f.count("locked"), f.count("cover")) ? "true" : "false");
    });
    console.addCommand("engine reveal", [&desktop, engine](CommandContext& c) {
        WindowMinimizer& m = engine(c);
        std::vector<WindowRef> windows;
        std::size_t i = 0;
        for (; i < c.size() && c.arg(i) != "force-auth" && c.arg(i) != "onscreen"; ++i) {
            windows.push_back(windowRef(desktop, c.window(i)));
        }
        if (windows.empty()) {
            c.fail("expected one or more windows");
        }
        auto f = flags(c, i, {"force-auth", "onscreen"});
        m.reveal(windows, f.count("force-auth"), f.count("onscreen"),
                 [&desktop](bool done) { emitResult(desktop, done ? "true" : "false"); });
    });
    console.addCommand("engine restore-last", [&desktop, engine](CommandContext& c) {
        c.expectArgs(0, 0);
        engine(c).restoreLast(
            [&desktop](bool done) { emitResult(desktop, done ? "true" : "false"); });
    });
    console.addCommand("engine prune", [engine](CommandContext& c) {
        c.expectArgs(0, 0);
        engine(c).prune();
    });
    console.addCommand("engine adopt", [&desktop, engine](CommandContext& c) {
        c.expectArgs(0, 0);
        emitResult(desktop, std::to_string(engine(c).adoptParked()));
    });
    console.addCommand("engine release-all", [engine](CommandContext& c) {
        c.expectArgs(0, 0);
        engine(c).releaseAll();
    });

    console.addQuery("engine", [&console, engine](CommandContext& c) -> std::vector<std::string> {
        c.expectArgs(0, 0);
        WindowMinimizer& m = engine(c);
        std::vector<WindowRef> locked;
        for (const auto& lock : m.locks()) {
            locked.push_back({lock.element, lock.app, ""});
        }
        std::vector<std::string> origins;
        for (const auto& entry : m.hiddenOrigins()) {
            origins.push_back(console.names().nameOf(entry.element) + "@" +
                              formatPoint(entry.origin));
        }
        return {"engine hidden=" + names(console, m.minimized()) +
                " locked=" + names(console, locked) + " origins=" + formatList(origins) +
                " focus=" + (m.focusActive() ? "on" : "off") + " focusHidden=" +
                names(console, m.focusHidden()) + " attempts=" + std::to_string(m.attemptCount())};
    });
    console.addQuery("covers", [&console, engine](CommandContext& c) -> std::vector<std::string> {
        c.expectArgs(0, 0);
        return {"covers windows=" + names(console, engine(c).cover().covered())};
    });
}

}  // namespace

void registerProgramCommands(Console& console, sim::SimDesktop& desktop, ProgramHost& host) {
    registerLifecycle(console, desktop, host);
    registerEngine(console, desktop, host);
    registerSettingsCommands(console, desktop, host);
}

}  // namespace nimbrel::console
