#include <gtest/gtest.h>

#include "ProtectionFixture.h"

namespace nimbrel::test {
namespace {

const std::string kDialogPanel =
    "alert {password.setTitle} | {password.setMessage} | [{common.ok} {common.cancel}]";

class SetPasswordDialogTest : public ProtectionFixture {
  protected:
    // Runs the dialog; the owner authentication answers with `answer`.
    std::optional<bool> run(
        std::optional<sim::SimAuthAnswer> answer = sim::SimAuthAnswer::success) {
        if (answer) {
            localAuth.queueAnswer(*answer);
        }
        std::optional<bool> result;
        int calls = 0;
        protection->setPasswordDialog().setInteractively([&](bool ok) {
            result = ok;
            ++calls;
        });
        loop.runDue();
        EXPECT_LE(calls, 1);
        return result;
    }
    void type(const std::string& first, const std::string& second) {
        alerts.queueAnswer("{common.ok}", {first, second});
    }
};

TEST_F(SetPasswordDialogTest, AnAcceptedPasswordIsStoredAndOpensTheCheck) {
    type("violet harbour 31", "violet harbour 31");
    EXPECT_EQ(run(), true);
    EXPECT_EQ(localAuth.sheets().at(0).reason, "{auth.reason.setPassword}");
    EXPECT_EQ(takeEvents(), std::vector<std::string>{kDialogPanel});
    EXPECT_EQ(password().status(), AppPassword::Status::set);
    EXPECT_EQ(stored()->rounds, 600000);
    EXPECT_EQ(password().check("violet harbour 31", 0), AppPassword::Check::ok());
    ASSERT_EQ(alerts.shown().at(0).fields.size(), 2u);
    EXPECT_EQ(alerts.shown()[0].fields[1].placeholder, "{password.placeholderConfirm}");
}

TEST_F(SetPasswordDialogTest, ChangingAskForTheCurrentPasswordFirst) {
    ASSERT_TRUE(password().set("violet harbour 31"));
    alerts.queueAnswer("{common.ok}", {"violet harbour 31"});
    type("amber lantern 77", "amber lantern 77");
    EXPECT_EQ(run(std::nullopt), true);
    EXPECT_EQ(takeEvents(),
              (std::vector<std::string>{
                  "alert {password.title} | {auth.reason.changePassword} | [{common.ok} "
                  "{common.cancel}]",
                  kDialogPanel}));
    EXPECT_EQ(password().check("amber lantern 77", 0), AppPassword::Check::ok());
}

TEST_F(SetPasswordDialogTest, WithoutAuthorisationNothingIsShown) {
    type("violet harbour 31", "violet harbour 31");
    EXPECT_EQ(run(sim::SimAuthAnswer::cancel), false);
    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_EQ(password().status(), AppPassword::Status::none);
}

struct RefusalCase {
    const char* name;
    const char* first;
    const char* second;
    const char* alert;
};

class SetPasswordRefusal : public SetPasswordDialogTest,
                           public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(SetPasswordRefusal, ShowsItsAlertAndAsksAgain) {
    type(GetParam().first, GetParam().second);
    alerts.queueAnswer("{common.ok}");
    alerts.queueAnswer("{common.cancel}");
    EXPECT_EQ(run(), false);
    EXPECT_EQ(takeEvents(),
              (std::vector<std::string>{
                  kDialogPanel, "alert " + std::string(GetParam().alert) + " |  | [{common.ok}]",
                  kDialogPanel}));
    EXPECT_EQ(password().status(), AppPassword::Status::none);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, SetPasswordRefusal,
    ::testing::Values(RefusalCase{"bothEmpty", "", "", "{password.empty}"},
                      RefusalCase{"firstEmpty", "", "violet harbour 31", "{password.empty}"},
                      RefusalCase{"mismatch", "violet harbour 31", "violet harbour 32",
                                  "{password.mismatch}"},
                      RefusalCase{"mismatchBeforeWeakness", "abc", "abd", "{password.mismatch}"},
                      RefusalCase{"common", "Password1", "Password1", "{password.tooCommon}"},
                      RefusalCase{"pattern", "abababab", "abababab", "{password.tooCommon}"},
                      RefusalCase{"short", "short", "short", "{password.tooShort|8}"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SetPasswordDialogTest, ARefusedEntryIsFollowedByAFreshPanel) {
    type("short", "short");
    alerts.queueAnswer("{common.ok}");
    type("violet harbour 31", "violet harbour 31");
    EXPECT_EQ(run(), true);
    ASSERT_EQ(alerts.shown().size(), 3u);
    EXPECT_EQ(alerts.shown()[2].fields.at(0).text, "");
    EXPECT_EQ(password().check("violet harbour 31", 0), AppPassword::Check::ok());
}

struct StoreFailureCase {
    const char* name;
    bool failRandom;
    bool refusingKeychain;
};

class SetPasswordStoreFailure : public SetPasswordDialogTest,
                                public ::testing::WithParamInterface<StoreFailureCase> {};

TEST_P(SetPasswordStoreFailure, BeepsAndAnswersFalseWithNothingStored) {
    crypto->failRandom = GetParam().failRandom;
    keychain.setRefusing(GetParam().refusingKeychain);
    type("violet harbour 31", "violet harbour 31");
    EXPECT_EQ(run(), false);
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{kDialogPanel, "beep"}));
    keychain.setRefusing(false);
    EXPECT_TRUE(keychain.items().empty());
    EXPECT_EQ(password().status(), AppPassword::Status::none);
}

INSTANTIATE_TEST_SUITE_P(Failures, SetPasswordStoreFailure,
                         ::testing::Values(StoreFailureCase{"randomDraw", true, false},
                                           StoreFailureCase{"keychainRefuses", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimbrel::test
