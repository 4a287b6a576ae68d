#include <gtest/gtest.h>

#include "platform/sim/SimLocalAuthentication.h"
#include "platform/sim/SimMainLoop.h"

namespace nimbrel::sim {
namespace {

constexpr auto biometrics = AuthPolicy::deviceOwnerAuthenticationWithBiometrics;
constexpr auto owner = AuthPolicy::deviceOwnerAuthentication;

struct SheetCase {
    const char* name;
    AuthPolicy policy;
    std::optional<SimAuthAnswer> answer;
    std::optional<std::string> fallbackTitle;
    AuthOutcome expected;
};

class SimSheet : public ::testing::TestWithParam<SheetCase> {};

TEST_P(SimSheet, RepliesLaterThroughTheLoop) {
    SimMainLoop loop;
    SimLocalAuthentication auth(loop);
    auth.setBiometricsAvailable(true);
    if (GetParam().answer) {
        auth.queueAnswer(*GetParam().answer);
    }
    std::vector<AuthOutcome> replies;
    auth.evaluate(GetParam().policy, "why", GetParam().fallbackTitle,
                  [&](AuthOutcome outcome) { replies.push_back(outcome); });
    EXPECT_TRUE(replies.empty());
    loop.runDue();
    EXPECT_EQ(replies, std::vector<AuthOutcome>{GetParam().expected});
    ASSERT_EQ(auth.sheets().size(), 1u);
    EXPECT_EQ(auth.sheets()[0].reason, "why");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SimSheet,
    ::testing::Values(SheetCase{"success", biometrics, SimAuthAnswer::success, "Use Password",
                                AuthOutcome::success},
                      SheetCase{"cancel", biometrics, SimAuthAnswer::cancel, "Use Password",
                                AuthOutcome::userCancel},
                      SheetCase{"nothingQueuedIsCancel", owner, std::nullopt, std::nullopt,
                                AuthOutcome::userCancel},
                      SheetCase{"fail", owner, SimAuthAnswer::fail, std::nullopt,
                                AuthOutcome::authenticationFailed},
                      SheetCase{"fallback", biometrics, SimAuthAnswer::fallback, "Use Password",
                                AuthOutcome::userFallback},
                      SheetCase{"hiddenFallbackCanOnlyBeDismissed", biometrics,
                                SimAuthAnswer::fallback, std::string(), AuthOutcome::userCancel}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimLocalAuthentication, AnUnavailablePolicyShowsNoSheetAndKeepsTheAnswer) {
    SimMainLoop loop;
    SimLocalAuthentication auth(loop);
    EXPECT_FALSE(auth.canEvaluate(biometrics));
    EXPECT_TRUE(auth.canEvaluate(owner));
    auth.queueAnswer(SimAuthAnswer::success);
    std::optional<AuthOutcome> reply;
    auth.evaluate(biometrics, "why", std::nullopt, [&](AuthOutcome outcome) { reply = outcome; });
    loop.runDue();
    EXPECT_EQ(reply, AuthOutcome::notAvailable);
    EXPECT_TRUE(auth.sheets().empty());
    EXPECT_EQ(auth.queuedAnswers(), 1u);
}

}  // namespace
}  // namespace nimbrel::sim
