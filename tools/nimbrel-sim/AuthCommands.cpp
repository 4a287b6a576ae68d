#include "AuthCommands.h"

#include <map>
#include <string>
#include <vector>

#include "CommandFamily.h"
#include "Console.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {

void registerAuthCommands(Console& console, sim::SimDesktop& desktop) {
    auto& auth = desktop.localAuthentication();
    console.addCommand(
        "auth",
        commandFamily({
            {"biometrics",
             [&auth](CommandContext& c) {
                 c.expectArgs(2, 2);
                 auth.setBiometricsAvailable(c.onOff(1));
             }},
            {"owner",
             [&auth](CommandContext& c) {
                 c.expectArgs(2, 2);
                 auth.setOwnerAvailable(c.onOff(1));
             }},
            {"next",
             [&auth](CommandContext& c) {
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
             }},
        }));

    auto& alerts = desktop.alerts();
    console.addCommand("alert",
                       commandFamily({
                           {"next",
                            [&alerts](CommandContext& c) {
                                c.expectArgs(2, 64);
                                std::vector<std::string> texts;
                                for (std::size_t i = 2; i < c.size(); ++i) {
                                    texts.push_back(c.arg(i));
                                }
                                alerts.queueAnswer(c.arg(1), std::move(texts));
                            }},
                           // The program shows no alert that waits without blocking.
                           {"press", [](CommandContext& c) { c.fail("not available yet"); }},
                       }));

    // Read-backs of what the script set up, and of how much of it is still waiting.
    console.addQuery("auth", [&auth](CommandContext& c) {
        c.expectArgs(0, 0);
        bool biometrics = auth.canEvaluate(AuthPolicy::deviceOwnerAuthenticationWithBiometrics);
        bool owner = auth.canEvaluate(AuthPolicy::deviceOwnerAuthentication);
        return std::vector<std::string>{
            "auth biometrics=" + std::string(biometrics ? "on" : "off") +
            " owner=" + (owner ? "on" : "off") + " queued=" + std::to_string(auth.queuedAnswers()) +
            " sheets=" + std::to_string(auth.sheets().size())};
    });
    console.addQuery("alerts", [&alerts](CommandContext& c) {
        c.expectArgs(0, 0);
        return std::vector<std::string>{"alerts queued=" + std::to_string(alerts.queuedAnswers()) +
                                        " shown=" + std::to_string(alerts.shown().size())};
    });
}

}  // namespace nimbrel::console
