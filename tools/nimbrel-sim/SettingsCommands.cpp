#include "SettingsCommands.h"

#include <functional>
#include <map>

#include "CommandFamily.h"
#include "Console.h"
#include "ProgramHost.h"
#include "Values.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimKeyboardLayout.h"

namespace nimbrel::console {
namespace {

using Kind = ShortcutTarget::Kind;

const std::map<std::string, Kind>& fixedTargetNames() {
    static const std::map<std::string, Kind> names{
        {"focused", Kind::focused},          {"all", Kind::all},
        {"designate", Kind::designate},      {"focus-mode", Kind::focusMode},
        {"region-cover", Kind::regionCover}, {"region-clear", Kind::regionClear}};
    return names;
}

SettingsStore& store(ProgramHost& host, CommandContext& c) {
    if (!host.isRunning()) {
        c.fail("the program is not running");
    }
    return host.delegate().store();
}

// `binding:N` names the N-th binding (from 1) in the store's order.
const WindowBinding& bindingAt(SettingsStore& s, CommandContext& c, const std::string& word) {
    const auto& bindings = s.bindings().get();
    if (word.rfind("binding:", 0) == 0) {
        long long index = parseInteger(word.substr(8));
        if (index >= 1 && static_cast<std::size_t>(index) <= bindings.size()) {
            return bindings[static_cast<std::size_t>(index - 1)];
        }
    }
    c.fail("no such binding: " + word);
}

ShortcutTarget target(SettingsStore& s, CommandContext& c, const std::string& word) {
    auto fixed = fixedTargetNames().find(word);
    if (fixed != fixedTargetNames().end()) {
        return ShortcutTarget::fixed(fixed->second);
    }
    return ShortcutTarget::window(bindingAt(s, c, word).id);
}

std::string targetName(SettingsStore& s, const ShortcutTarget& t) {
    if (t.isWindow()) {
        const auto& bindings = s.bindings().get();
        for (std::size_t i = 0; i < bindings.size(); ++i) {
            if (bindings[i].id == t.id) {
                return "binding:" + std::to_string(i + 1);
            }
        }
        return "binding:?";
    }
    for (const auto& [name, kind] : fixedTargetNames()) {
        if (kind == t.kind) {
            return name;
        }
    }
    return "?";
}

std::optional<KeyCombo> combo(CommandContext& c, const std::string& word) {
    if (word == "none") {
        return std::nullopt;
    }
    auto parsed = sim::SimKeyboardLayout::parseCombo(word);
    if (!parsed) {
        c.fail("not a key combination: " + word);
    }
    return KeyCombo{parsed->keyCode, parsed->modifiers};
}

LiveApp liveApp(sim::SimDesktop& desktop, AppRef app) {
    return LiveApp{desktop.workspace().bundleIdentifier(app),
                   desktop.workspace().localizedName(app)};
}

// A setting's value as the command writes it, after the setting's name.
void readValue(CommandContext& c, bool& out) {
    out = c.onOff(1);
}
void readValue(CommandContext& c, double& out) {
    out = c.number(1);
}
void readValue(CommandContext& c, long long& out) {
    out = c.integer(1);
}
void readValue(CommandContext& c, std::string& out) {
    out = c.arg(1);
}
void readValue(CommandContext& c, std::vector<std::string>& out) {
    for (std::size_t i = 1; i < c.size(); ++i) {
        out.push_back(c.arg(i));
    }
}
void readValue(CommandContext& c, HotCorner& out) {
    long long corner = c.integer(1);
    if (corner < 0 || corner > 5) {
        c.fail("a hot corner is 0 to 5");
    }
    out = static_cast<HotCorner>(corner);
}
void readValue(CommandContext& c, BorderIndicatorStyle& out) {
    long long style = c.integer(1);
    if (style != 0 && style != 1) {
        c.fail("a border style is 0 (full border) or 1 (corner marker)");
    }
    out = static_cast<BorderIndicatorStyle>(style);
}

using Setter = std::function<void(SettingsStore&, CommandContext&)>;

// Settings that only the store's own operations change have no plain setter.
template <typename T, typename Rule, SettingChange Change>
Setter setterFor(const SettingKey<T, Rule, Change>& key) {
    if constexpr (Change == SettingChange::own) {
        return nullptr;
    } else {
        return [key](SettingsStore& s, CommandContext& c) {
            T value{};
            readValue(c, value);
            s.set(key, std::move(value));
        };
    }
}

const std::map<std::string, Setter>& setters() {
    static const std::map<std::string, Setter> table = [] {
        std::map<std::string, Setter> all{
            {"coverMessage",
             [](SettingsStore& s, CommandContext& c) { s.setCoverMessage(c.arg(1)); }},
            {"screenChoice",
             [](SettingsStore& s, CommandContext& c) {
                 s.setScreenChoice(c.arg(1), c.has(2) ? c.arg(2) : c.arg(1));
             }},
        };
#define NIMBREL_CONSOLE_SETTER(Type, name, fallback, change, Rule) \
    if (auto setter = setterFor(setting::name)) {                  \
        all.emplace(#name, std::move(setter));                     \
    }
        NIMBREL_SETTINGS(NIMBREL_CONSOLE_SETTER)
#undef NIMBREL_CONSOLE_SETTER
        return all;
    }();
    return table;
}

void emitDone(sim::SimDesktop& desktop, bool done) {
    desktop.events().emit(std::string("result ") + (done ? "true" : "false"));
}

void settingsSet(ProgramHost& host, CommandContext& c) {
    SettingsStore& s = store(host, c);
    auto setter = setters().find(c.arg(0));
    if (setter == setters().end()) {
        c.fail("unknown setting: " + c.arg(0));
    }
    setter->second(s, c);
}

void settingsRecord(ProgramHost& host, CommandContext& c) {
    c.expectArgs(1, 1);
    SettingsStore& s = store(host, c);
    s.startRecording(target(s, c, c.arg(0)));
}

void settingsStopRecording(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    store(host, c).stopRecording();
}

void settingsAssign(ProgramHost& host, CommandContext& c) {
    c.expectArgs(2, 2);
    SettingsStore& s = store(host, c);
    s.assign(combo(c, c.arg(1)), target(s, c, c.arg(0)));
}

void settingsPreset(ProgramHost& host, CommandContext& c) {
    c.expectArgs(1, 1);
    // The modifiers alone, written like a combination without its key: ctrl+opt+cmd.
    auto parsed = sim::SimKeyboardLayout::parseCombo(c.arg(0) + "+a");
    if (!parsed) {
        c.fail("not a set of modifiers: " + c.arg(0));
    }
    store(host, c).applyModifierPreset(parsed->modifiers);
}

void settingsLock(ProgramHost& host, CommandContext& c) {
    c.expectArgs(2, 2);
    SettingsStore& s = store(host, c);
    ShortcutTarget t = target(s, c, c.arg(0));
    bool locked = c.onOff(1);
    s.requestSetLocked(locked, t);
}

void settingsWholeApp(ProgramHost& host, CommandContext& c) {
    c.expectArgs(1, 1);
    SettingsStore& s = store(host, c);
    s.toggleWholeApp(bindingAt(s, c, c.arg(0)).id);
}

void settingsDesignate(ProgramHost& host, CommandContext& c) {
    sim::SimDesktop& desktop = c.console().desktop();
    c.expectArgs(1, 1);
    SettingsStore& s = store(host, c);
    const sim::SimWindow* w = desktop.windowState(c.window(0));
    if (w == nullptr || w->closed) {
        c.fail("the window is not open");
    }
    std::optional<WindowNumber> number;
    if (w->number != 0) {
        number = w->number;
    }
    s.designate(LiveWindow{liveApp(desktop, w->app), number, w->title});
}

void settingsRemove(ProgramHost& host, CommandContext& c) {
    sim::SimDesktop& desktop = c.console().desktop();
    c.expectArgs(1, 1);
    SettingsStore& s = store(host, c);
    s.requestRemoveBinding(bindingAt(s, c, c.arg(0)).id,
                           [&desktop](bool removed) { emitDone(desktop, removed); });
}

// The settings window's password buttons: each authenticates first, as the buttons do.
void passwordSet(ProgramHost& host, CommandContext& c) {
    sim::SimDesktop& desktop = c.console().desktop();
    c.expectArgs(0, 0);
    store(host, c).setOrChangePassword([&desktop](bool done) { emitDone(desktop, done); });
}

void passwordClear(ProgramHost& host, CommandContext& c) {
    sim::SimDesktop& desktop = c.console().desktop();
    c.expectArgs(0, 0);
    store(host, c).clearPassword([&desktop](bool done) { emitDone(desktop, done); });
}

void settingsAllow(ProgramHost& host, CommandContext& c) {
    sim::SimDesktop& desktop = c.console().desktop();
    c.expectArgs(1, 1);
    SettingsStore& s = store(host, c);
    auto app = desktop.workspace().runningApplication(c.pid(0));
    if (!app) {
        c.fail("no application runs under pid " + c.arg(0));
    }
    s.addAllowedApp(liveApp(desktop, *app));
}

void settingsDisallow(ProgramHost& host, CommandContext& c) {
    c.expectArgs(1, 1);
    store(host, c).removeAllowedApp(c.arg(0));
}

std::vector<std::string> settings(ProgramHost& host, CommandContext& c) {
    c.expectArgs(0, 0);
    SettingsStore& s = store(host, c);
    std::vector<std::string> unavailable;
    for (const auto& t : s.unavailable().get()) {
        unavailable.push_back(targetName(s, t));
    }
    std::vector<std::string> allowed;
    for (const auto& app : s.allowedApps().get()) {
        allowed.push_back(app.id());
    }
    auto preset = s.currentPresetModifiers();
    const auto& recording = s.recording().get();
    const auto& notice = s.notice().get();
    return {"settings recording=" + (recording ? targetName(s, *recording) : "none") +
            " unavailable=" + formatList(unavailable) +
            " notice=" + (notice ? quotedText(*notice) : "none") + " bindings=" +
            std::to_string(s.bindings().get().size()) + " allowed=" + formatList(allowed) +
            " preset=" + (preset ? KeyCombo::modifierSymbols(*preset) : "none")};
}

// `expect hotkeys [1:⌃⌘W 2:⌃⌘S]`: the program's hot keys, in registration order, with ids.
Console::Verdict hotkeys(ProgramHost& host, CommandContext& c) {
    sim::SimDesktop& desktop = c.console().desktop();
    SettingsStore& s = store(host, c);
    std::vector<std::string> items;
    for (const auto& r : desktop.hotKeys().registrations()) {
        items.push_back(std::to_string(r.identity.id) + ":" +
                        s.displayText(KeyCombo{r.keyCode, r.modifiers}));
    }
    std::string actual = formatList(items);
    return Console::Verdict{actual == c.rest(0), actual};
}

// The system authentication sheets shown so far: how many, and the reason of the last one.
std::vector<std::string> authSheets(sim::SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    const auto& sheets = desktop.localAuthentication().sheets();
    return {"auth-sheets count=" + std::to_string(sheets.size()) +
            " last=" + quotedText(sheets.empty() ? "" : sheets.back().reason)};
}

// `expect no-defaults KEY`: nothing is stored under the key.
Console::Verdict noDefaults(sim::SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(1, 1);
    auto stored = desktop.defaults().describe(c.arg(0));
    return Console::Verdict{!stored, stored.value_or("none")};
}

std::vector<std::string> binding(ProgramHost& host, CommandContext& c) {
    c.expectArgs(1, 1);
    SettingsStore& s = store(host, c);
    const WindowBinding& b = bindingAt(s, c, "binding:" + c.arg(0));
    std::string comboText = b.combo ? s.displayText(*b.combo) : std::string("none");
    return {"binding " + c.arg(0) + " label=" + quotedText(b.label(host.strings())) + " app=" +
            quotedText(b.appName) + " title=" + quotedText(b.title) + " combo=" + comboText +
            " locked=" + yesNo(b.locked) + " wholeApp=" + yesNo(b.wholeApp) +
            " number=" + (b.windowNumber ? std::to_string(*b.windowNumber) : "none")};
}

constexpr Verb<ProgramHost> kProgramCommands[] = {
    {"settings set", settingsSet},
    {"settings record", settingsRecord},
    {"settings stop-recording", settingsStopRecording},
    {"settings assign", settingsAssign},
    {"settings preset", settingsPreset},
    {"settings lock", settingsLock},
    {"settings whole-app", settingsWholeApp},
    {"settings designate", settingsDesignate},
    {"settings remove", settingsRemove},
    {"password set", passwordSet},
    {"password clear", passwordClear},
    {"settings allow", settingsAllow},
    {"settings disallow", settingsDisallow},
};

constexpr Query<ProgramHost> kProgramQueries[] = {
    {"settings", settings},
    {"binding", binding},
};

constexpr Expectation<ProgramHost> kProgramExpectations[] = {
    {"hotkeys", hotkeys},
};

constexpr Query<sim::SimDesktop> kDesktopQueries[] = {
    {"auth-sheets", authSheets},
};

constexpr Expectation<sim::SimDesktop> kDesktopExpectations[] = {
    {"no-defaults", noDefaults},
};

}  // namespace

void registerSettingsCommands(Console& console, sim::SimDesktop& desktop, ProgramHost& host) {
    addCommands(console, host, kProgramCommands);
    addQueries(console, host, kProgramQueries);
    addExpectations(console, host, kProgramExpectations);
    addQueries(console, desktop, kDesktopQueries);
    addExpectations(console, desktop, kDesktopExpectations);
}

}  // namespace nimbrel::console
