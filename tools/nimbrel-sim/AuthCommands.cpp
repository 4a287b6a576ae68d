#include "AuthCommands.h"

#include <map>
#include <string>
#include <vector>

#include "CommandFamily.h"
#include "Console.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {
namespace {

using sim::SimAlerts;
using sim::SimLocalAuthentication;

void authBiometrics(SimLocalAuthentication& auth, CommandContext& c) {
    c.expectArgs(2, 2);
    auth.setBiometricsAvailable(c.onOff(1));
}

void authOwner(SimLocalAuthentication& auth, CommandContext& c) {
    c.expectArgs(2, 2);
    auth.setOwnerAvailable(c.onOff(1));
}

void authNext(SimLocalAuthentication& auth, CommandContext& c) {
    static const std::map<std::string, sim::SimAuthAnswer> answers{
        {"success", sim::SimAuthAnswer::success},
        {"cancel", sim::SimAuthAnswer::cancel},
        {"fail", sim::SimAuthAnswer::fail},
        {"fallback", sim::SimAuthAnswer::fallback},
    };
    c.expectArgs(2, 2);
    auto it = answers.find(c.arg(1));
    if (it == answers.end()) {
        c.fail("unknown answer " + c.arg(1) + " (success, cancel, fail or fallback)");
    }
    auth.queueAnswer(it->second);
}

constexpr Verb<SimLocalAuthentication> kAuthVerbs[] = {
    {"biometrics", authBiometrics},
    {"owner", authOwner},
    {"next", authNext},
};

void alertNext(SimAlerts& alerts, CommandContext& c) {
    c.expectArgs(2, 64);
    std::vector<std::string> texts;
    for (std::size_t i = 2; i < c.size(); ++i) {
        texts.push_back(c.arg(i));
    }
    alerts.queueAnswer(c.arg(1), std::move(texts));
}

// The program shows no alert that waits without blocking.
void alertPress(SimAlerts&, CommandContext& c) {
    c.fail("not available yet");
}

constexpr Verb<SimAlerts> kAlertVerbs[] = {
    {"next", alertNext},
    {"press", alertPress},
};

// Read-backs of what the script set up, and of how much of it is still waiting.
std::vector<std::string> authQuery(SimLocalAuthentication& auth, CommandContext& c) {
    c.expectArgs(0, 0);
    bool biometrics = auth.canEvaluate(AuthPolicy::deviceOwnerAuthenticationWithBiometrics);
    bool owner = auth.canEvaluate(AuthPolicy::deviceOwnerAuthentication);
    return {"auth biometrics=" + std::string(biometrics ? "on" : "off") +
            " owner=" + (owner ? "on" : "off") + " queued=" + std::to_string(auth.queuedAnswers()) +
            " sheets=" + std::to_string(auth.sheets().size())};
}

constexpr Query<SimLocalAuthentication> kAuthQueries[] = {{"auth", authQuery}};

std::vector<std::string> alertsQuery(SimAlerts& alerts, CommandContext& c) {
    c.expectArgs(0, 0);
    return {"alerts queued=" + std::to_string(alerts.queuedAnswers()) +
            " shown=" + std::to_string(alerts.shown().size())};
}

constexpr Query<SimAlerts> kAlertQueries[] = {{"alerts", alertsQuery}};

}  // namespace

void registerAuthCommands(Console& console, sim::SimDesktop& desktop) {
    console.addCommand("auth", commandFamily(desktop.localAuthentication(), kAuthVerbs));
    console.addCommand("alert", commandFamily(desktop.alerts(), kAlertVerbs));
    addQueries(console, desktop.localAuthentication(), kAuthQueries);
    addQueries(console, desktop.alerts(), kAlertQueries);
}

}  // namespace nimbrel::console
