#include "DesktopCommands.h"

#include <map>
#include <string>

#include "CommandFamily.h"
#include "Console.h"
#include "Values.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {
namespace {

using sim::SimDesktop;
using sim::SimResult;

void check(const CommandContext& c, const SimResult& result) {
    if (!result) {
        c.fail(result.error);
    }
}

using Sub = SubCommand;

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

void registerScreen(Console& console, SimDesktop& desktop) {
    console.addCommand("screen", commandFamily({
                                     {"add",
                                      [&](CommandContext& c) {
                                          c.expectArgs(3, 4);
                                          auto options = c.options(3, {"visible"});
                                          std::optional<Rect> visible;
                                          if (options.count("visible") != 0) {
                                              visible = parseRect(options["visible"]);
                                          }
                                          check(c, desktop.addScreen(c.arg(1), c.rect(2), visible));
                                      }},
                                     {"remove",
                                      [&](CommandContext& c) {
                                          c.expectArgs(2, 2);
                                          check(c, desktop.removeScreen(c.arg(1)));
                                      }},
                                 }));
}

void registerApp(Console& console, SimDesktop& desktop) {
    auto byPid = [&](SimResult (SimDesktop::*change)(Pid)) {
        return [&desktop, change](CommandContext& c) {
            c.expectArgs(2, 2);
            check(c, (desktop.*change)(c.pid(1)));
        };
    };
    console.addCommand("app",
                       commandFamily({
                           {"launch",
                            [&](CommandContext& c) {
                                c.expectArgs(3, 5);
                                auto options = c.options(3, {"bundle", "policy"});
                                std::optional<std::string> bundle;
                                if (options.count("bundle") != 0) {
                                    bundle = options["bundle"];
                                }
                                ActivationPolicy policy = options.count("policy") != 0
                                                              ? parsePolicy(c, options["policy"])
                                                              : ActivationPolicy::regular;
                                check(c, desktop.launchApp(c.pid(1), c.arg(2), bundle, policy));
                            }},
                           {"quit", byPid(&SimDesktop::quitApp)},
                           {"activate", byPid(&SimDesktop::activateApp)},
                           {"hide", byPid(&SimDesktop::hideApp)},
                           {"unhide", byPid(&SimDesktop::unhideApp)},
                           {"hang", byPid(&SimDesktop::hangApp)},
                           {"answer", byPid(&SimDesktop::answerApp)},
                       }));
}

WindowNumber parseWindowNumber(const CommandContext& c, const std::string& text) {
    long long value = parseInteger(text);
    if (value < 0 || value > 0xFFFFFFFFLL) {
        c.fail("not a window number: " + text);
    }
    return static_cast<WindowNumber>(value);
}

void registerWin(Console& console, SimDesktop& desktop) {
    Console* con = &console;
    auto oneWindow = [&](SimResult (SimDesktop::*change)(ElementRef)) {
        return [&desktop, change](CommandContext& c) {
            c.expectArgs(2, 2);
            check(c, (desktop.*change)(c.window(1)));
        };
    };
    console.addCommand(
        "win", commandFamily({
                   {"open",
                    [&desktop, con](CommandContext& c) {
                        c.expectArgs(5, 7);
                        const std::string& name = c.arg(1);
                        if (!con->names().canBind(name)) {
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
                        con->names().bind(name, opened);
                    }},
                   {"close", oneWindow(&SimDesktop::closeWindow)},
                   {"move",
                    [&](CommandContext& c) {
                        c.expectArgs(3, 3);
                        check(c, desktop.moveWindow(c.window(1), c.point(2)));
                    }},
                   {"resize",
                    [&](CommandContext& c) {
                        c.expectArgs(3, 3);
                        check(c, desktop.resizeWindow(c.window(1), c.size2(2)));
                    }},
                   {"minimize", oneWindow(&SimDesktop::minimizeWindow)},
                   {"restore", oneWindow(&SimDesktop::restoreWindow)},
                   {"focus", oneWindow(&SimDesktop::focusWindow)},
                   {"title",
                    [&](CommandContext& c) {
                        c.expectArgs(3, 3);
                        check(c, desktop.setWindowTitle(c.window(1), c.arg(2)));
                    }},
                   {"number",
                    [&](CommandContext& c) {
                        c.expectArgs(3, 3);
                        check(c,
                              desktop.setWindowNumber(c.window(1), parseWindowNumber(c, c.arg(2))));
                    }},
                   {"pin",
                    [&](CommandContext& c) {
                        c.expectArgs(2, 2);
                        check(c, desktop.pinWindow(c.window(1), true));
                    }},
                   {"unpin",
                    [&](CommandContext& c) {
                        c.expectArgs(2, 2);
                        check(c, desktop.pinWindow(c.window(1), false));
                    }},
                   {"clamp",
                    [&](CommandContext& c) {
                        c.expectArgs(2, 2);
                        check(c, desktop.clampWindow(c.window(1), true));
                    }},
                   {"unclamp",
                    [&](CommandContext& c) {
                        c.expectArgs(2, 2);
                        check(c, desktop.clampWindow(c.window(1), false));
                    }},
                   {"fail",
                    [&](CommandContext& c) {
                        c.expectArgs(3, 9);
                        std::vector<std::string> attributes;
                        for (std::size_t i = 2; i < c.size(); ++i) {
                            attributes.push_back(c.arg(i));
                        }
                        check(c, desktop.failWindow(c.window(1), attributes));
                    }},
                   {"heal", oneWindow(&SimDesktop::healWindow)},
               }));
}

void registerPointerAndInput(Console& console, SimDesktop& desktop) {
    auto at = [&](void (SimDesktop::*action)(Point)) {
        return [&desktop, action](CommandContext& c) {
            c.expectArgs(2, 2);
            (desktop.*action)(c.point(1));
        };
    };
    console.addCommand("mouse", commandFamily({
                                    {"move", at(&SimDesktop::moveMouse)},
                                    {"down", at(&SimDesktop::mouseDown)},
                                    {"drag", at(&SimDesktop::mouseDrag)},
                                    {"up", at(&SimDesktop::mouseUp)},
                                }));
    console.addCommand("input", commandFamily({
                                    {"click",
                                     [&](CommandContext& c) {
                                         c.expectArgs(1, 1);
                                         desktop.recordClick();
                                     }},
                                    {"key",
                                     [&](CommandContext& c) {
                                         c.expectArgs(1, 1);
                                         desktop.recordKeyPress();
                                     }},
                                }));
    console.addCommand("time", commandFamily({
                                   {"advance",
                                    [&](CommandContext& c) {
                                        c.expectArgs(2, 2);
                                        double seconds = c.number(1);
                                        if (seconds < 0) {
                                            c.fail("time only moves forward");
                                        }
                                        desktop.advanceTime(seconds);
                                    }},
                               }));
}

void registerSession(Console& console, SimDesktop& desktop) {
    static const std::map<std::string, SystemEvent> events{
        {"screen-locked", SystemEvent::screenLocked},
        {"screen-unlocked", SystemEvent::screenUnlocked},
        {"will-sleep", SystemEvent::willSleep},
        {"screens-did-sleep", SystemEvent::screensDidSleep},
        {"will-power-off", SystemEvent::willPowerOff},
        {"screen-parameters-changed", SystemEvent::screenParametersChanged},
    };
    console.addCommand("notify", [&](CommandContext& c) {
        c.expectArgs(1, 1);
        auto it = events.find(c.arg(0));
        if (it == events.end()) {
            c.fail("unknown notification " + c.arg(0));
        }
        desktop.notify(it->second);
    });
    console.addCommand("ax", commandFamily({
                                 {"trust",
                                  [&](CommandContext& c) {
                                      c.expectArgs(2, 2);
                                      desktop.setTrusted(c.onOff(1));
                                  }},
                             }));
}

}  // namespace

void registerDesktopCommands(Console& console, SimDesktop& desktop) {
    registerScreen(console, desktop);
    registerApp(console, desktop);
    registerWin(console, desktop);
    registerPointerAndInput(console, desktop);
    registerSession(console, desktop);
}

}  // namespace nimbrel::console
