#include "DesktopQueries.h"

#include <string>
#include <vector>

#include "CommandFamily.h"
#include "Console.h"
#include "Values.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {
namespace {

using sim::SimDesktop;
using Lines = std::vector<std::string>;

const char* policyName(ActivationPolicy policy) {
    switch (policy) {
        case ActivationPolicy::regular:
            return "regular";
        case ActivationPolicy::accessory:
            return "accessory";
        case ActivationPolicy::prohibited:
            return "prohibited";
    }
    return "regular";
}

const sim::SimApp& appArg(const CommandContext& c, SimDesktop& desktop, std::size_t i) {
    const sim::SimApp* a = desktop.appState(c.pid(i));
    if (a == nullptr) {
        c.fail("unknown pid " + c.arg(i));
    }
    return *a;
}

std::string screenLine(const sim::SimScreen& s, bool primary) {
    return "screen " + s.name + " frame=" + formatRect(s.frame) +
           " visible=" + formatRect(s.visibleFrame) + " id=" + std::to_string(s.displayID) +
           " uuid=" + s.uuid + " primary=" + yesNo(primary);
}

std::string seconds(double value) {
    return formatNumber(value);
}

Lines winQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(1, 1);
    ElementRef element = c.window(0);
    const sim::SimWindow* w = desktop.windowState(element);
    if (w == nullptr || w->closed) {
        c.fail("window " + c.arg(0) + " is closed");
    }
    return {"win " + c.console().names().nameOf(element) + " pid=" + std::to_string(w->pid) +
            " title=" + quotedText(w->title) + " frame=" + formatRect(w->frame) + " minimized=" +
            yesNo(w->minimized) + " onscreen=" + yesNo(desktop.isOnScreen(element)) + " focused=" +
            yesNo(desktop.isFocused(element)) + " number=" + std::to_string(w->number)};
}

Lines appQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(1, 1);
    const sim::SimApp& a = appArg(c, desktop, 0);
    return {"app " + std::to_string(a.pid) + " name=" + quotedText(a.name) +
            " frontmost=" + yesNo(desktop.frontmostApp() == a.ref) + " hidden=" + yesNo(a.hidden)};
}

// What `show app` leaves out: identity, policy, life and the windows in order.
Lines processQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(1, 1);
    const sim::SimApp& a = appArg(c, desktop, 0);
    std::vector<std::string> windows;
    if (!a.terminated) {
        for (ElementRef e : desktop.windowsOf(a.pid)) {
            windows.push_back(c.console().names().nameOf(e));
        }
    }
    std::string focused = a.focused ? c.console().names().nameOf(a.focused) : "none";
    return {"process " + std::to_string(a.pid) + " name=" + quotedText(a.name) +
            " bundle=" + a.bundleID.value_or("none") + " policy=" + policyName(a.policy) +
            " terminated=" + yesNo(a.terminated) + " hung=" + yesNo(a.hung) +
            " program=" + yesNo(desktop.programApp() == a.ref) + " focus=" + focused +
            " windows=" + formatList(windows)};
}

Lines screenQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(1, 1);
    const sim::SimScreen* s = desktop.screenState(c.arg(0));
    if (s == nullptr) {
        c.fail("unknown screen " + c.arg(0));
    }
    return {screenLine(*s, &desktop.screenList().front() == s)};
}

Lines screensQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    Lines lines;
    for (const auto& s : desktop.screenList()) {
        lines.push_back(screenLine(s, lines.empty()));
    }
    return lines;
}

// The window server's on-screen list, front to back.
Lines windowsQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    Lines lines;
    for (const WindowInfo& info : desktop.windowList().onScreenWindows()) {
        std::string name = "#" + std::to_string(info.number);
        for (ElementRef e : desktop.windowStack()) {
            const sim::SimWindow* w = desktop.windowState(e);
            if (w->number == info.number && w->pid == info.ownerPID) {
                name = c.console().names().nameOf(e);
                break;
            }
        }
        lines.push_back("window " + name + " pid=" + std::to_string(info.ownerPID) + " number=" +
                        std::to_string(info.number) + " layer=" + std::to_string(info.layer) +
                        " bounds=" + formatRect(info.bounds) +
                        " owner=" + quotedText(info.ownerName) + " title=" + quotedText(info.name));
    }
    return lines;
}

Lines mouseQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    return {"mouse at=" + formatPoint(desktop.mousePosition())};
}

Lines inputQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    EventSource& source = desktop.eventSource();
    return {"input click=" + seconds(source.secondsSinceLastEvent(InputEventType::leftMouseUp)) +
            " key=" + seconds(source.secondsSinceLastEvent(InputEventType::keyDown)) +
            " move=" + seconds(source.secondsSinceLastEvent(InputEventType::mouseMoved)) +
            " any=" + seconds(source.secondsSinceLastEvent(InputEventType::any))};
}

Lines timeQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    return {"time now=" + formatNumber(desktop.loop().now())};
}

Lines axQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    return {"ax trusted=" + yesNo(desktop.isTrusted()) +
            " observers=" + std::to_string(desktop.observerCount())};
}

Lines frontmostQuery(SimDesktop& desktop, CommandContext& c) {
    c.expectArgs(0, 0);
    auto front = desktop.frontmostApp();
    return {"frontmost pid=" +
            (front ? std::to_string(desktop.appState(*front)->pid) : std::string("none"))};
}

constexpr Query<SimDesktop> kDesktopQueries[] = {
    {"win", winQuery},
    {"app", appQuery},
    {"process", processQuery},
    {"screen", screenQuery},
    {"screens", screensQuery},
    {"windows", windowsQuery},
    {"mouse", mouseQuery},
    {"input", inputQuery},
    {"time", timeQuery},
    {"ax", axQuery},
    {"frontmost", frontmostQuery},
};

}  // namespace

void registerDesktopQueries(Console& console, SimDesktop& desktop) {
    addQueries(console, desktop, kDesktopQueries);
}

}  // namespace nimbrel::console
