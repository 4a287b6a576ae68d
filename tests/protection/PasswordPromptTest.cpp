#include <gtest/gtest.h>

#include "ProtectionFixture.h"
#include "platform/BundledStrings.h"

namespace nimbrel::test {
namespace {

constexpr const char* kPromptPassword = "tangerine sky";
const std::string kPromptPanel = "alert {password.title} | to test | [{common.ok} {common.cancel}]";

class PasswordPromptTest : public ProtectionFixture {
  protected:
    void SetUp() override { ASSERT_TRUE(password().set(kPromptPassword)); }

    // The prompt's answer; it must have come before the prompt returned.
    std::optional<bool> prompt() {
        std::optional<bool> answer;
        int calls = 0;
        protection->prompt().promptForPassword("to test", [&](bool ok) {
            answer = ok;
            ++calls;
        });
        EXPECT_EQ(calls, 1);
        return answer;
    }
    void lockFor(double seconds, std::int64_t failures = 5) {
        auto record = *stored();
        record.failures = failures;
        record.lockedUntil = loop.now() + seconds;
        store(record);
    }
    void enter(const std::string& text) { alerts.queueAnswer("{common.ok}", {text}); }
};

TEST_F(PasswordPromptTest, ThreeWrongEntriesBeepThreeTimesAndAnswerFalseWithoutAnAlert) {
    for (int i = 0; i < 4; ++i) {
        enter("guess " + std::to_string(i));
    }
    EXPECT_EQ(prompt(), false);
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{kPromptPanel, "beep", kPromptPanel, "beep",
                                                      kPromptPanel, "beep"}));
    EXPECT_EQ(alerts.queuedAnswers(), 1u) << "a fourth try was offered";
    EXPECT_EQ(stored()->failures, 3);
}

TEST_F(PasswordPromptTest, TheRightEntryOnALaterTryAnswersTrue) {
    enter("guess");
    enter(kPromptPassword);
    EXPECT_EQ(prompt(), true);
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{kPromptPanel, "beep", kPromptPanel}));
    EXPECT_EQ(stored()->failures, 0);
}

TEST_F(PasswordPromptTest, CancellingOrClosingThePanelAnswersFalseWithoutCounting) {
    alerts.queueAnswer("{common.cancel}", {kPromptPassword});
    EXPECT_EQ(prompt(), false);
    EXPECT_EQ(prompt(), false) << "no queued answer: the panel is closed";
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{kPromptPanel, kPromptPanel}));
    EXPECT_EQ(stored()->failures, 0);
}

TEST_F(PasswordPromptTest, ThePanelAsksForOneSecretComingToTheFront) {
    enter(kPromptPassword);
    prompt();
    ASSERT_EQ(alerts.shown().size(), 1u);
    const auto& panel = alerts.shown().front();
    ASSERT_EQ(panel.fields.size(), 1u);
    EXPECT_TRUE(panel.fields[0].secure);
    EXPECT_EQ(panel.fields[0].placeholder, "{password.placeholder}");
    EXPECT_EQ(application.activations, 1);
}

TEST_F(PasswordPromptTest, DuringALockOutOnlyTheLockOutAlertIsShown) {
    lockFor(30);
    enter(kPromptPassword);
    EXPECT_EQ(prompt(), false);
    EXPECT_EQ(
        takeEvents(),
        (std::vector<std::string>{"alert {password.lockedOut|30 seconds} |  | [{common.ok}]"}));
    EXPECT_EQ(stored()->failures, 5);
}

TEST_F(PasswordPromptTest, AnEntryThatStartsALockOutSaysSoAtOnce) {
    lockFor(-1, 4);
    enter("guess");
    enter(kPromptPassword);
    EXPECT_EQ(prompt(), false);
    EXPECT_EQ(takeEvents(),
              (std::vector<std::string>{
                  kPromptPanel, "alert {password.lockedOut|30 seconds} |  | [{common.ok}]"}));
    EXPECT_EQ(stored()->failures, 5) << "a try was offered during the lock-out";
}

TEST_F(PasswordPromptTest, AnEntryAfterAnotherPromptLockedOutIsRefusedWithTheSameEnd) {
    lockFor(-1, 4);
    ASSERT_EQ(password().check("guess", loop.now()), AppPassword::Check::wrong());
    loop.advance(10);
    // The panel was already up when the lock-out began elsewhere: the lock-out stands.
    EXPECT_EQ(password().check(kPromptPassword, loop.now()), AppPassword::Check::lockedOut(30));
}

TEST_F(PasswordPromptTest, EveryAlertGoesToTheNoticeScreen) {
    Screen side{{1440, 0, 1920, 1080}, {1440, 0, 1920, 1055}, 2, "SIDE"};
    PasswordPanel panel(alerts, application, strings, [&] { return std::optional<Screen>(side); });
    PasswordPrompt placed(password(), panel, sound, loop, strings, "en");
    lockFor(-1, 4);
    enter("guess");
    placed.promptForPassword("to test", {});
    ASSERT_EQ(alerts.shown().size(), 2u);
    EXPECT_EQ(alerts.shown()[0].screen, side);
    EXPECT_EQ(alerts.shown()[1].screen, side) << "the lock-out alert";
}

TEST_F(PasswordPromptTest, LockOutAlertReadsInFullEnglish) {
    BundledStrings english;
    Localizer en(&english);
    PasswordPanel panel(alerts, application, en, {});
    PasswordPrompt englishPrompt(password(), panel, sound, loop, en, "en");
    for (auto [seconds, text] : {std::pair{30.0, "30 seconds"}, std::pair{61.0, "2 minutes"}}) {
        lockFor(seconds);
        englishPrompt.promptForPassword("to test", {});
        EXPECT_EQ(takeEvents(), (std::vector<std::string>{"alert Too many wrong passwords. Try "
                                                          "again in " +
                                                          std::string(text) + ". |  | [OK]"}));
    }
}

}  // namespace
}  // namespace nimbrel::test
