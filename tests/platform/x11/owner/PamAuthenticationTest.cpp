// The owner's authentication as the gate sees it: the dialog, typed into as the user would, and
// PAM behind it through PAM's test wrapper.
#include "platform/x11/qt/PamAuthentication.h"

#include <gtest/gtest.h>

#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include <mutex>
#include <optional>

#include "../PamServices.h"
#include "../PrivateFolder.h"
#include "../qt/QtDisplay.h"
#include "platform/BundledStrings.h"
#include "platform/x11/qt/QtMainLoop.h"
#include "platform/x11/qt/QtOwnerPrompt.h"

namespace nimbrel::test {
namespace {

using x11::PamAuthentication;
using x11::PamVerifier;
using x11::QtOwnerPrompt;

class OwnerPamEnvironment final : public testing::Environment {
  public:
    void SetUp() override { services_.use(); }
    PrivateFolder folder_;
    PamServices services_{folder_ / "services"};
};
const auto* const ownerPamEnvironment = testing::AddGlobalTestEnvironment(new OwnerPamEnvironment);

QDialog* openDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget);
            dialog != nullptr && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// What the user does in the dialog, through the server as a user would.
struct OwnerCase {
    const char* name;
    const char* service;
    const char* typed;  // none: the keys alone
    const char* keys;
    AuthOutcome expected;
};

class PamAuthenticationTest : public testing::TestWithParam<OwnerCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(PamServices::wrapperPreloaded()) << "run with LD_PRELOAD=libpam_wrapper.so";
        ASSERT_NE(connection, nullptr);
    }

    // Evaluates the owner policy and answers the dialog as the case says; the outcome, none when
    // no dialog came up or no reply followed.
    std::optional<AuthOutcome> evaluate(PamAuthentication& auth, const OwnerCase& c) {
        auth.evaluate(AuthPolicy::deviceOwnerAuthentication, "show windows that are locked",
                      std::nullopt, [this](AuthOutcome outcome) {
                          std::lock_guard<std::mutex> lock(mutex);
                          reply = outcome;
                      });
        if (!spinUntil([] { return openDialog() != nullptr && openDialog()->isActiveWindow(); })) {
            return std::nullopt;
        }
        if (c.typed != nullptr) {
            xdotool(std::string("type --delay 10 '") + c.typed + "'");
        }
        xdotool(std::string("key ") + c.keys);
        spinUntil([this] { return replied(); });
        std::lock_guard<std::mutex> lock(mutex);
        return reply;
    }

    bool replied() {
        std::lock_guard<std::mutex> lock(mutex);
        return reply.has_value();
    }

    std::unique_ptr<x11::Connection> connection = qtConnection();
    x11::X11Screens screens{*connection};
    x11::QtMainLoop loop;
    BundledStrings english;
    Localizer strings{&english};
    RecordingLog log;
    std::mutex mutex;
    std::optional<AuthOutcome> reply;
};

TEST_P(PamAuthenticationTest, TheDialogAndTheServiceGiveTheOutcome) {
    const OwnerCase& c = GetParam();
    PamAuthentication auth(loop, screens, strings, log, c.service);
    ASSERT_TRUE(auth.canEvaluate(AuthPolicy::deviceOwnerAuthentication));
    EXPECT_EQ(evaluate(auth, c), c.expected);
    drainQt();
    EXPECT_EQ(openDialog(), nullptr);
}

const OwnerCase kOwnerCases[] = {
    {"RightPassword", "nimbrel", PamServices::kPamPassword, "Return", AuthOutcome::success},
    {"WrongPassword", "nimbrel", "correct hose", "Return", AuthOutcome::authenticationFailed},
    {"ServiceThatRefuses", "nimbrel-refuses", PamServices::kPamPassword, "Return",
     AuthOutcome::authenticationFailed},
    {"BrokenServiceIsNoSuccess", "nimbrel-broken", PamServices::kPamPassword, "Return",
     AuthOutcome::notAvailable},
    {"EscapeAfterTheRightPassword", "nimbrel", PamServices::kPamPassword, "Escape",
     AuthOutcome::userCancel},
    // Tab from the field to Cancel; the default button is OK, so Return alone would accept.
    {"CancelButton", "nimbrel", PamServices::kPamPassword, "Tab space", AuthOutcome::userCancel},
};
INSTANTIATE_TEST_SUITE_P(Answers, PamAuthenticationTest, testing::ValuesIn(kOwnerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PamAuthenticationTest, TheDialogSaysWhatForAndWhoseAndShowsNoCharacter) {
    PamAuthentication auth(loop, screens, strings, log, "nimbrel");
    auth.evaluate(AuthPolicy::deviceOwnerAuthentication, "show windows that are locked",
                  std::nullopt, [](AuthOutcome) {});
    ASSERT_TRUE(
        spinUntil([] { return openDialog() != nullptr && openDialog()->isActiveWindow(); }));
    QDialog* dialog = openDialog();
    xdotool("type --delay 10 'secret'");
    auto* field = dialog->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(spinUntil([&] { return field->text() == "secret"; }));
    EXPECT_EQ(field->echoMode(), QLineEdit::Password);
    EXPECT_EQ(field->displayText().indexOf("secret"), -1);
    QStringList texts;
    for (auto* label : dialog->findChildren<QLabel*>()) {
        texts << label->text();
    }
    const std::string user = PamVerifier::currentUser().value();
    EXPECT_TRUE(texts.contains(QString::fromStdString(
        strings.text("owner.title"_key, {std::string("show windows that are locked")}))))
        << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(QString::fromStdString(strings.text("owner.message"_key, {user}))));
    // The owner's policy has no fallback: two buttons only.
    EXPECT_EQ(dialog->findChildren<QPushButton*>().size(), 2);
    keepScreenshot("owner-prompt");
}

// A fingerprint request carries the gate's fallback button, whose answer is its own.
TEST_F(PamAuthenticationTest, TheFallbackButtonAnswersFallback) {
    std::optional<AuthOutcome> outcome;
    QtOwnerPrompt::Texts texts{"window", "title",  "message",     "placeholder",
                               "OK",     "Cancel", "Use Password"};
    QtOwnerPrompt prompt(texts, screens, [&](QtOwnerPrompt::Answer answer, x11::SecretBytes bytes) {
        outcome = answer == QtOwnerPrompt::Answer::fallback ? AuthOutcome::userFallback
                                                            : AuthOutcome::success;
        EXPECT_EQ(bytes.size(), 0u);
    });
    ASSERT_TRUE(spinUntil([&] { return prompt.dialog().isVisible(); }));
    QPushButton* fallback = nullptr;
    for (auto* button : prompt.dialog().findChildren<QPushButton*>()) {
        if (button->text() == "Use Password") {
            fallback = button;
        }
    }
    ASSERT_NE(fallback, nullptr);
    fallback->click();
    EXPECT_EQ(outcome, AuthOutcome::userFallback);
}

TEST(QtOwnerPromptTest, TakingThePasswordOverwritesTheFieldsOwnText) {
    QLineEdit literal;
    literal.setText(QStringLiteral("constant"));
    EXPECT_EQ(QtOwnerPrompt::takeText(literal).size(), 8u);

    QLineEdit field;
    field.setEchoMode(QLineEdit::Password);
    // Built at run time, as typed text is: a literal would be read-only and stay as it is.
    field.setText(QString::fromUtf8("p\xc3\xa4ssword"));
    // Shares the field's buffer, as every copy of its text does until one of them changes.
    const QString shared = field.text();
    x11::SecretBytes bytes = QtOwnerPrompt::takeText(field);
    EXPECT_EQ(std::string(bytes.data(), bytes.size()), "p\xc3\xa4ssword");
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_FALSE(field.isUndoAvailable());
    EXPECT_EQ(shared, QString(8, QChar(0)));
}

TEST_F(PamAuthenticationTest, FingerprintsAreUnavailableWithoutAFingerprintService) {
    PamAuthentication auth(loop, screens, strings, log, "nimbrel");
    EXPECT_FALSE(auth.canEvaluate(AuthPolicy::deviceOwnerAuthenticationWithBiometrics));
    auth.evaluate(AuthPolicy::deviceOwnerAuthenticationWithBiometrics, "x", std::string("Use"),
                  [this](AuthOutcome outcome) {
                      std::lock_guard<std::mutex> lock(mutex);
                      reply = outcome;
                  });
    EXPECT_FALSE(replied());
    ASSERT_TRUE(spinUntil([this] { return replied(); }));
    EXPECT_EQ(reply, AuthOutcome::notAvailable);
    EXPECT_EQ(openDialog(), nullptr);
}

TEST_F(PamAuthenticationTest, ADialogStillUpWhenTheServiceGoesAnswersSystemCancelOnce) {
    int replies = 0;
    std::optional<AuthOutcome> last;
    {
        PamAuthentication auth(loop, screens, strings, log, "nimbrel");
        auth.evaluate(AuthPolicy::deviceOwnerAuthentication, "x", std::nullopt,
                      [&](AuthOutcome outcome) {
                          ++replies;
                          last = outcome;
                      });
        ASSERT_TRUE(spinUntil([] { return openDialog() != nullptr; }));
    }
    drainQt();
    EXPECT_EQ(replies, 1);
    EXPECT_EQ(last, AuthOutcome::systemCancel);
    EXPECT_EQ(openDialog(), nullptr);
}

}  // namespace
}  // namespace nimbrel::test
