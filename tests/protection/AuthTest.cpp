#include <gtest/gtest.h>

#include "ProtectionFixture.h"

namespace nimbrel::test {
namespace {

using sim::SimAuthAnswer;

constexpr const char* kAuthPassword = "tangerine sky";
constexpr auto biometrics = AuthPolicy::deviceOwnerAuthenticationWithBiometrics;
constexpr auto owner = AuthPolicy::deviceOwnerAuthentication;

enum class PasswordState { none, set, missing };

struct AuthCase {
    const char* name;
    PasswordState state;
    bool biometrics;
    bool owner;
    std::optional<SimAuthAnswer> sheetAnswer;  // none: no answer queued
    std::optional<std::string> entry;          // typed into the program's prompt, if it opens
    bool expected;
    std::optional<AuthPolicy> sheet;  // the system sheet shown, if any
    std::optional<std::string> fallbackTitle;
    bool prompted;  // the program's own prompt opened
};

class AuthBranches : public ProtectionFixture, public ::testing::WithParamInterface<AuthCase> {};

TEST_P(AuthBranches, AnswerOnceOnTheMainLoop) {
    const auto& c = GetParam();
    if (c.state != PasswordState::none) {
        ASSERT_TRUE(password().set(kAuthPassword));
    }
    if (c.state == PasswordState::missing) {
        keychain.deleteItem(item());
    }
    localAuth.setBiometricsAvailable(c.biometrics);
    localAuth.setOwnerAvailable(c.owner);
    if (c.sheetAnswer) {
        localAuth.queueAnswer(*c.sheetAnswer);
    }
    if (c.entry) {
        alerts.queueAnswer("{common.ok}", {*c.entry});
    }

    std::vector<bool> answers;
    auth().authenticate("{auth.reason.unlockWindows}", [&](bool ok) { answers.push_back(ok); });
    loop.runDue();

    EXPECT_EQ(answers, std::vector<bool>{c.expected});
    if (c.sheet) {
        ASSERT_EQ(localAuth.sheets().size(), 1u);
        EXPECT_EQ(localAuth.sheets()[0].policy, *c.sheet);
        EXPECT_EQ(localAuth.sheets()[0].reason, "{auth.reason.unlockWindows}");
        EXPECT_EQ(localAuth.sheets()[0].fallbackTitle, c.fallbackTitle);
    } else {
        EXPECT_TRUE(localAuth.sheets().empty());
    }
    if (c.prompted) {
        ASSERT_FALSE(alerts.shown().empty());
        EXPECT_EQ(alerts.shown()[0].title, "{password.title}");
        EXPECT_EQ(alerts.shown()[0].message, "{auth.reason.unlockWindows}");
    } else {
        EXPECT_TRUE(alerts.shown().empty());
    }
}

const std::string kFallback = "{auth.fallbackTitle}";

INSTANTIATE_TEST_SUITE_P(
    Branches, AuthBranches,
    ::testing::Values(
        AuthCase{"setTouchIdSuccess", PasswordState::set, true, true, SimAuthAnswer::success,
                 std::nullopt, true, biometrics, kFallback, false},
        AuthCase{"setTouchIdCancelAsksNothingMore", PasswordState::set, true, true,
                 SimAuthAnswer::cancel, kAuthPassword, false, biometrics, kFallback, false},
        AuthCase{"setTouchIdSheetClosedCountsAsCancel", PasswordState::set, true, true,
                 std::nullopt, kAuthPassword, false, biometrics, kFallback, false},
        AuthCase{"setTouchIdFallbackOpensThePrompt", PasswordState::set, true, true,
                 SimAuthAnswer::fallback, kAuthPassword, true, biometrics, kFallback, true},
        AuthCase{"setTouchIdFailureOpensThePrompt", PasswordState::set, true, true,
                 SimAuthAnswer::fail, kAuthPassword, true, biometrics, kFallback, true},
        AuthCase{"setTouchIdFallbackThenWrongPasswords", PasswordState::set, true, true,
                 SimAuthAnswer::fallback, std::string("nope"), false, biometrics, kFallback, true},
        AuthCase{"setWithoutTouchIdPromptsAtOnce", PasswordState::set, false, true,
                 SimAuthAnswer::success, kAuthPassword, true, std::nullopt, std::nullopt, true},
        AuthCase{"missingTouchIdSuccess", PasswordState::missing, true, true,
                 SimAuthAnswer::success, std::nullopt, true, biometrics, std::string(), false},
        AuthCase{"missingTouchIdFailureNoPrompt", PasswordState::missing, true, true,
                 SimAuthAnswer::fail, kAuthPassword, false, biometrics, std::string(), false},
        AuthCase{"missingTouchIdCancelNoPrompt", PasswordState::missing, true, true,
                 SimAuthAnswer::cancel, kAuthPassword, false, biometrics, std::string(), false},
        AuthCase{"missingHasNoFallbackButton", PasswordState::missing, true, true,
                 SimAuthAnswer::fallback, kAuthPassword, false, biometrics, std::string(), false},
        AuthCase{"missingWithoutTouchIdUsesTheOwner", PasswordState::missing, false, true,
                 SimAuthAnswer::success, std::nullopt, true, owner, std::nullopt, false},
        AuthCase{"missingWithNothingRefuses", PasswordState::missing, false, false,
                 SimAuthAnswer::success, kAuthPassword, false, std::nullopt, std::nullopt, false},
        AuthCase{"noneOwnerSuccess", PasswordState::none, true, true, SimAuthAnswer::success,
                 std::nullopt, true, owner, std::nullopt, false},
        AuthCase{"noneOwnerFailureNoPrompt", PasswordState::none, false, true, SimAuthAnswer::fail,
                 kAuthPassword, false, owner, std::nullopt, false},
        AuthCase{"noneWithoutOwnerRefusesAtOnce", PasswordState::none, true, false,
                 SimAuthAnswer::success, kAuthPassword, false, std::nullopt, std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.name); });

class AuthDelivery : public ProtectionFixture {
  protected:
    std::vector<bool> answers;
    std::function<void(bool)> record() {
        return [this](bool ok) { answers.push_back(ok); };
    }
};

TEST_F(AuthDelivery, TheSystemsReplyReachesTheCompletionOnlyThroughTheMainLoop) {
    localAuth.queueAnswer(SimAuthAnswer::success);
    auth().authenticate("r", record());
    EXPECT_TRUE(answers.empty()) << "answered inside authenticate";
    // One turn delivers the platform's reply, the next the completion it forwarded.
    EXPECT_EQ(loop.pendingCount(), 1u);
    loop.runDue();
    EXPECT_EQ(answers, std::vector<bool>{true});
}

TEST_F(AuthDelivery, ImmediateAnswersComeBeforeAuthenticateReturns) {
    localAuth.setOwnerAvailable(false);
    auth().authenticate("r", record());
    EXPECT_EQ(answers, std::vector<bool>{false});
    EXPECT_FALSE(loop.hasPendingWork());
}

// A platform that answers twice, at once, from inside evaluate.
class StutteringAuthentication final : public LocalAuthentication {
  public:
    explicit StutteringAuthentication(AuthOutcome outcome) : outcome_(outcome) {}
    bool canEvaluate(AuthPolicy) override { return true; }
    void evaluate(AuthPolicy, const std::string&, const std::optional<std::string>&,
                  AuthReply reply) override {
        reply(outcome_);
        reply(outcome_);
    }

  private:
    AuthOutcome outcome_;
};

TEST_F(AuthDelivery, AReplyDeliveredTwiceCompletesOnce) {
    ASSERT_TRUE(password().set(kAuthPassword));
    for (auto outcome : {AuthOutcome::success, AuthOutcome::userFallback}) {
        StutteringAuthentication platform(outcome);
        Auth gate(password(), protection->prompt(), platform, loop, strings);
        alerts.queueAnswer("{common.ok}", {kAuthPassword});
        alerts.queueAnswer("{common.ok}", {kAuthPassword});
        answers.clear();
        gate.authenticate("r", record());
        EXPECT_TRUE(answers.empty());
        loop.runDue();
        EXPECT_EQ(answers, std::vector<bool>{true});
    }
    EXPECT_EQ(alerts.shown().size(), 1u) << "the fallback opened the prompt twice";
}

TEST_F(AuthDelivery, AGateDestroyedBeforeTheReplyAnswersFalseOnce) {
    ASSERT_TRUE(password().set(kAuthPassword));
    localAuth.setBiometricsAvailable(true);
    localAuth.queueAnswer(SimAuthAnswer::fallback);
    alerts.queueAnswer("{common.ok}", {kAuthPassword});
    auth().authenticate("r", record());
    protection.reset();
    loop.runDue();
    EXPECT_EQ(answers, std::vector<bool>{false});
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(AuthDelivery, ACompletionMayDestroyTheGate) {
    ASSERT_TRUE(password().set(kAuthPassword));
    for (bool biometric : {true, false}) {
        localAuth.setBiometricsAvailable(biometric);
        localAuth.queueAnswer(SimAuthAnswer::fallback);
        alerts.queueAnswer("{common.ok}", {kAuthPassword});
        answers.clear();
        auth().authenticate("r", [this](bool ok) {
            answers.push_back(ok);
            rebuild();
        });
        loop.runDue();
        EXPECT_EQ(answers, std::vector<bool>{true}) << biometric;
    }
}

TEST_F(AuthDelivery, RequestsStandAloneAndEachAsksAgain) {
    localAuth.queueAnswer(SimAuthAnswer::success);
    localAuth.queueAnswer(SimAuthAnswer::cancel);
    auth().authenticate("first", record());
    auth().authenticate("second", record());
    loop.runDue();
    EXPECT_EQ(answers, (std::vector<bool>{true, false}));
    EXPECT_EQ(localAuth.sheets().size(), 2u);
}

}  // namespace
}  // namespace nimbrel::test
