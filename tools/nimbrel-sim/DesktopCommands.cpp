#include "DesktopCommands.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "CommandFamily.h"
#include "Console.h"
#include "Values.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {
namespace {

using sim::SimDesktop;
using sim::SimResult;
using DesktopVerb = Verb<SimDesktop>;

void check(const CommandContext& c, const SimResult& result) {
    if (!result) {
        c.fail(result.error);
    }
}

ActivationPolicy parsePolicy(const CommandContext& c, const std::string& text) {
    if (text == "regular") {
        return ActivationPolicy::regular;
    }
    if (text == "accessory") {
        return ActivationPolicy::accessory;
    }
    if (text == "prohibited") {
        return ActivationPolicy::prohibited;
    }
    c.fail("unknown policy " + text + " (regular, accessory or prohibited)");
}

WindowNumber parseWindowNumber(const CommandContext& c, const std::string& text) {
    long long value = parseInteger(text);
    if (value < 0 || value > 0xFFFFFFFFLL) {
        c.fail("not a window number: " + text);
    }
    return static_cast<WindowNumber>(value);
}

// ---- screen ----

void screenAdd(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(3, 4);
    auto options = c.options(3, {"visible"});
    std::optional<Rect> visible;
    if (options.count("visible") != 0) {
        visible = parseRect(options["visible"]);
    }
    check(c, desktop.addScreen(c.arg(1), c.rect(2), visible));
}

void screenRemove(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    check(c, desktop.removeScreen(c.arg(1)));
}

constexpr DesktopVerb kScreenVerbs[] = {
    {"add", screenAdd},
    {"remove", screenRemove},
};

// ---- app ----

void appLaunch(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(3, 5);
    auto options = c.options(3, {"bundle", "policy"});
    std::optional<std::string> bundle;
    if (options.count("bundle") != 0) {
        bundle = options["bundle"];
    }
    ActivationPolicy policy = options.count("policy") != 0 ? parsePolicy(c, options["policy"])
                                                           : ActivationPolicy::regular;
    check(c, desktop.launchApp(c.pid(1), c.arg(2), bundle, policy));
}

template <SimResult (SimDesktop::*change)(Pid)>
void byPid(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    check(c, (desktop.*change)(c.pid(1)));
}

constexpr DesktopVerb kAppVerbs[] = {
    {"launch", appLaunch},
    {"quit", byPid<&SimDesktop::quitApp>},
    {"activate", byPid<&SimDesktop::activateApp>},
    {"hide", byPid<&SimDesktop::hideApp>},
    {"unhide", byPid<&SimDesktop::unhideApp>},
    {"hang", byPid<&SimDesktop::hangApp>},
    {"answer", byPid<&SimDesktop::answerApp>},
};

// ---- win ----

void winOpen(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(5, 7);
    const std::string& name = c.arg(1);
    WindowNames& names = c.console().names();
    if (!names.canBind(name)) {
        c.fail("window " + name + " is already open (or the name has # or =)");
    }
    sim::SimWindowSpec description;
    description.title = c.arg(3);
    description.frame = c.rect(4);
    auto options = c.options(5, {"subrole", "number"});
    if (options.count("subrole") != 0) {
        description.subrole = options["subrole"];
    }
    if (options.count("number") != 0) {
        description.number = parseWindowNumber(c, options["number"]);
    }
    ElementRef opened;
    check(c, desktop.openWindow(c.pid(2), description, &opened));
    names.bind(name, opened);
}

template <SimResult (SimDesktop::*change)(ElementRef)>
void oneWindow(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    check(c, (desktop.*change)(c.window(1)));
}

void winMove(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(3, 3);
    check(c, desktop.moveWindow(c.window(1), c.point(2)));
}

void winResize(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(3, 3);
    check(c, desktop.resizeWindow(c.window(1), c.size2(2)));
}

void winTitle(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(3, 3);
    check(c, desktop.setWindowTitle(c.window(1), c.arg(2)));
}

void winNumber(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(3, 3);
    check(c, desktop.setWindowNumber(c.window(1), parseWindowNumber(c, c.arg(2))));
}

template <bool pinned>
void winPin(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    check(c, desktop.pinWindow(c.window(1), pinned));
}

// A clamped window is kept inside the screens by a move, as some window managers do.
template <bool clamped>
void winClamp(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    check(c, desktop.clampWindow(c.window(1), clamped));
}

void winFail(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(3, 9);
    std::vector<std::string> attributes;
    for (std::size_t i = 2; i < c.size(); ++i) {
        attributes.push_back(c.arg(i));
    }
    check(c, desktop.failWindow(c.window(1), attributes));
}

constexpr DesktopVerb kWinVerbs[] = {
    {"open", winOpen},
    {"close", oneWindow<&SimDesktop::closeWindow>},
    {"move", winMove},
    {"resize", winResize},
    {"minimize", oneWindow<&SimDesktop::minimizeWindow>},
    {"restore", oneWindow<&SimDesktop::restoreWindow>},
    {"focus", oneWindow<&SimDesktop::focusWindow>},
    {"title", winTitle},
    {"number", winNumber},
    {"pin", winPin<true>},
    {"unpin", winPin<false>},
    {"clamp", winClamp<true>},
    {"unclamp", winClamp<false>},
    {"fail", winFail},
    {"heal", oneWindow<&SimDesktop::healWindow>},
};

// ---- mouse, input, time ----

template <void (SimDesktop::*action)(Point)>
void atPoint(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    (desktop.*action)(c.point(1));
}

constexpr DesktopVerb kMouseVerbs[] = {
    {"move", atPoint<&SimDesktop::moveMouse>},
    {"down", atPoint<&SimDesktop::mouseDown>},
    {"drag", atPoint<&SimDesktop::mouseDrag>},
    {"up", atPoint<&SimDesktop::mouseUp>},
};

void inputClick(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(1, 1);
    desktop.recordClick();
}

void inputKey(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(1, 1);
    desktop.recordKeyPress();
}

constexpr DesktopVerb kInputVerbs[] = {
    {"click", inputClick},
    {"key", inputKey},
};

void timeAdvance(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    double seconds = c.number(1);
    if (seconds < 0) {
        c.fail("time only moves forward");
    }
    desktop.advanceTime(seconds);
}

constexpr DesktopVerb kTimeVerbs[] = {
    {"advance", timeAdvance},
};

// ---- session ----

void notify(SimDesktop& desktop, CommandContext& c) {
    static const std::map<std::string, SystemEvent> events{
        {"screen-locked", SystemEvent::screenLocked},
        {"screen-unlocked", SystemEvent::screenUnlocked},
        {"will-sleep", SystemEvent::willSleep},
        {"screens-did-sleep", SystemEvent::screensDidSleep},
        {"will-power-off", SystemEvent::willPowerOff},
        {"screen-parameters-changed", SystemEvent::screenParametersChanged},
    };
    c.expectArgs(1, 1);
    auto it = events.find(c.arg(0));
    if (it == events.end()) {
        c.fail("unknown notification " + c.arg(0));
    }
    desktop.notify(it->second);
}

void axTrust(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(2, 2);
    desktop.setTrusted(c.onOff(1));
}

constexpr DesktopVerb kAxVerbs[] = {
    {"trust", axTrust},
};

constexpr DesktopVerb kSingleCommands[] = {
    {"notify", notify},
};

}  // namespace

void registerDesktopCommands(Console& console, SimDesktop& desktop) {
    console.addCommand("screen", commandFamily(desktop, kScreenVerbs));
    console.addCommand("app", commandFamily(desktop, kAppVerbs));
    console.addCommand("win", commandFamily(desktop, kWinVerbs));
    console.addCommand("mouse", commandFamily(desktop, kMouseVerbs));
    console.addCommand("input", commandFamily(desktop, kInputVerbs));
    console.addCommand("time", commandFamily(desktop, kTimeVerbs));
    console.addCommand("ax", commandFamily(desktop, kAxVerbs));
    addCommands(console, desktop, kSingleCommands);
}

}  // namespace nimbrel::console
