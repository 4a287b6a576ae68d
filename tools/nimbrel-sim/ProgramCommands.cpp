#include "ProgramCommands.h"

#include <set>

#include "CommandFamily.h"
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

void start(ProgramHost& host, CommandContext& c) {
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
}

template <void (ProgramHost::*stop)()>
void lifecycle(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    (running(host, c).*stop)();
}

WindowMinimizer& engine(ProgramHost& host, CommandContext& c) {
    return running(host, c).delegate().minimizer();
}

void emitDone(sim::SimDesktop& desktop, bool done) {
    emitResult(desktop, done ? "true" : "false");
}

Guard guardFlag(const std::set<std::string>& f) {
    return f.count("locked") ? Guard::locked : Guard::unlocked;
}

HideStyle styleFlag(const std::set<std::string>& f) {
    return f.count("cover") ? HideStyle::cover : HideStyle::outOfSight;
}

void engineHide(ProgramHost& host, CommandContext& c) {
    WindowMinimizer& m = engine(host, c);
    sim::SimDesktop& desktop = c.console().desktop();
    ElementRef element = c.window(0);
    auto f = flags(c, 1, {"locked", "cover"});
    emitDone(desktop, m.hide(windowRef(desktop, element), guardFlag(f), styleFlag(f)));
}

void engineHideFocused(ProgramHost& host, CommandContext& c) {
    WindowMinimizer& m = engine(host, c);
    auto f = flags(c, 0, {"locked", "cover"});
    emitDone(c.console().desktop(), m.hideFocused(guardFlag(f), styleFlag(f)));
}

void engineReveal(ProgramHost& host, CommandContext& c) {
    WindowMinimizer& m = engine(host, c);
    sim::SimDesktop& desktop = c.console().desktop();
    std::vector<WindowRef> windows;
    std::size_t i = 0;
    for (; i < c.size() && c.arg(i) != "force-auth" && c.arg(i) != "onscreen"; ++i) {
        windows.push_back(windowRef(desktop, c.window(i)));
    }
    if (windows.empty()) {
        c.fail("expected one or more windows");
    }
    auto f = flags(c, i, {"force-auth", "onscreen"});
    m.reveal(windows, f.count("force-auth") ? RevealAuth::always : RevealAuth::asNeeded,
             f.count("onscreen") ? RevealPlace::onChosenScreen : RevealPlace::whereItWas,
             [&desktop](bool done) { emitDone(desktop, done); });
}

void engineRestoreLast(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    sim::SimDesktop& desktop = c.console().desktop();
    engine(host, c).restoreLast([&desktop](bool done) { emitDone(desktop, done); });
}

void enginePrune(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    engine(host, c).prune();
}

void engineAdopt(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    emitResult(c.console().desktop(), std::to_string(engine(host, c).adoptParked()));
}

void engineReleaseAll(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    engine(host, c).releaseAll();
}

constexpr Verb<ProgramHost> kProgramCommands[] = {
    {"nimbrel start", start},
    {"nimbrel quit", lifecycle<&ProgramHost::quit>},
    {"nimbrel update-relaunch", lifecycle<&ProgramHost::updateRelaunch>},
    {"nimbrel kill", lifecycle<&ProgramHost::kill>},
    {"nimbrel signal", lifecycle<&ProgramHost::endSession>},
    {"nimbrel reopen", lifecycle<&ProgramHost::reopen>},
    {"engine hide", engineHide},
    {"engine hide-focused", engineHideFocused},
    {"engine reveal", engineReveal},
    {"engine restore-last", engineRestoreLast},
    {"engine prune", enginePrune},
    {"engine adopt", engineAdopt},
    {"engine release-all", engineReleaseAll},
};

std::vector<std::string> engineQuery(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    WindowMinimizer& m = engine(host, c);
    const HiddenWindows& hidden = m.hidden();
    Console& console = c.console();
    std::vector<WindowRef> locked;
    for (const auto& lock : hidden.locks()) {
        locked.push_back({lock.element, lock.app, ""});
    }
    std::vector<std::string> origins;
    for (const auto& entry : hidden.hiddenOrigins()) {
        origins.push_back(console.names().nameOf(entry.element) + "@" + formatPoint(entry.origin));
    }
    return {"engine hidden=" + names(console, hidden.minimized()) +
            " locked=" + names(console, locked) + " origins=" + formatList(origins) +
            " focus=" + (hidden.focusActive() ? "on" : "off") +
            " focusHidden=" + names(console, hidden.focusHidden()) +
            " attempts=" + std::to_string(host.delegate().attempts().entries().size())};
}

std::vector<std::string> coversQuery(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    return {"covers windows=" + names(c.console(), engine(host, c).cover().covered())};
}

constexpr Query<ProgramHost> kProgramQueries[] = {
    {"engine", engineQuery},
    {"covers", coversQuery},
};

}  // namespace

void registerProgramCommands(Console& console, sim::SimDesktop& desktop, ProgramHost& host) {
    addCommands(console, host, kProgramCommands);
    addQueries(console, host, kProgramQueries);
    registerSettingsCommands(console, desktop, host);
}

}  // namespace nimbrel::console
