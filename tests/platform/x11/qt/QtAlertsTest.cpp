#include "platform/x11/qt/QtAlerts.h"

#include <gtest/gtest.h>

#include <QtCore/QElapsedTimer>
#include <QtCore/QTimer>
#include <QtGui/QClipboard>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>

#include <functional>

#include "platform/x11/ClientWindows.h"
#include "platform/x11/display/TestClient.h"
#include "platform/x11/qt/QtDisplay.h"

namespace nimbrel::test {
namespace {

using x11::QtAlerts;

TEST(QtAlertsPlacementTest, AnAlertSitsAboveTheMiddleOfTheMainScreenUnlessTheRequestedOneLacksIt) {
    // The main screen 1440x900 with a 24-point bar along its bottom; a second one to its right.
    const Screen main{Rect(0, 0, 1440, 900), Rect(0, 24, 1440, 876), 1, "main"};
    const Screen side{Rect(1440, 100, 1280, 800), Rect(1440, 100, 1280, 800), 2, "side"};
    const Size alert{400, 200};
    // Centred on main's visible frame, the centre 87.6 points above its middle at 462.
    const Rect onMain(520, 449.6, 400, 200);
    const Rect onSide(1880, 480, 400, 200);
    struct Case {
        const char* what;
        std::optional<Screen> main;
        std::optional<Screen> requested;
        std::optional<Rect> placed;
    };
    const Case cases[] = {
        {"no screen asked for", main, std::nullopt, onMain},
        {"the main screen asked for", main, main, onMain},
        {"another screen asked for", main, side, onSide},
        {"a screen asked for, no main screen known", std::nullopt, side, onSide},
        {"no screen at all", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(QtAlerts::placement(alert, c.main, c.requested), c.placed);
    }
    // Taller than the space above its place, an alert keeps its top on the screen.
    EXPECT_EQ(QtAlerts::placement(Size{400, 900}, main, std::nullopt), Rect(520, 0, 400, 900));
}

class QtAlertsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        connection = qtConnection();
        ASSERT_NE(connection, nullptr) << "Qt is not on an X server";
        ASSERT_TRUE(client.connected());
        screens = std::make_unique<x11::X11Screens>(*connection);
        alerts = std::make_unique<QtAlerts>(loop, *screens);
        // A foreign window has the focus, as when the program asks from the background.
        TestClient::Window wanted;
        wanted.area = Rect(0, 0, 1280, 776);
        document = client.open(wanted);
        ASSERT_TRUE(managed(client.connection(), document));
        x11::ClientWindows(client.connection()).activate(document);
        ASSERT_TRUE(eventually(client.connection(),
                               [&] { return activeWindow(client.connection()) == document; }));
    }
    void TearDown() override { client.close(document); }

    // Runs the alert and, once it has the keyboard, `answer`, as the user would act on it.
    AlertResponse answer(const AlertRequest& request, std::function<void(QWidget&)> act) {
        QTimer poll;
        QElapsedTimer clock;
        clock.start();
        bool acted = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (acted || modal == nullptr) {
                return;
            }
            bool typable = request.fields.empty() ||
                           qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr;
            if (modal->isActiveWindow() && typable && inputFocus(client.connection()) != document) {
                acted = true;
                firedWhileUp = timerFired;
                act(*modal);
            } else if (clock.elapsed() > 10000) {
                acted = true;
                ADD_FAILURE() << "the alert never took the keyboard";
                modal->close();
            }
        });
        poll.start(20);
        return alerts->runModal(request);
    }

    TestClient client;
    xcb_window_t document = XCB_WINDOW_NONE;
    std::unique_ptr<x11::Connection> connection;
    std::unique_ptr<x11::X11Screens> screens;
    x11::QtMainLoop loop;
    std::unique_ptr<QtAlerts> alerts;
    bool timerFired = false;
    bool firedWhileUp = false;
};

TEST_F(QtAlertsTest, AnAlertAnsweredWithTheKeyboardReturnsTheDefaultButtonAndTheTexts) {
    AlertRequest request;
    request.title = "Unlock";
    request.message = "Enter your name and password.";
    request.buttons = {"Unlock", "Cancel"};
    request.fields = {{false, "Name", "ann"}, {true, "Password", ""}};
    QGuiApplication::clipboard()->setText("before");
    loop.startTimer(0.001, false, [&] { timerFired = true; });

    AlertResponse response = answer(request, [](QWidget& modal) {
        // The starting text comes selected; typed after it, then the secret, which is selected
        // and copied, which must not take.
        EXPECT_TRUE(xdotool("key End"));
        EXPECT_TRUE(xdotool("type e"));
        EXPECT_TRUE(xdotool("key Tab"));
        EXPECT_TRUE(xdotool("type s3cret"));
        spinUntil([] {
            auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            return field != nullptr && field->text() == QStringLiteral("s3cret");
        });
        modal.repaint();
        keepScreenshot("alert");
        EXPECT_TRUE(xdotool("key ctrl+a ctrl+c Return"));
    });
    EXPECT_EQ(response.button, std::optional<std::size_t>(0));
    EXPECT_EQ(response.texts, (std::vector<std::string>{"anne", "s3cret"}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

    EXPECT_FALSE(firedWhileUp) << "the main loop's timers wait while an alert is up";
    EXPECT_TRUE(spinUntil([&] { return timerFired; }));
}

TEST_F(QtAlertsTest, AnAlertEndedWithoutAButtonAnswersNone) {
    struct Case {
        const char* what;
        std::function<void(QWidget&, x11::Connection&)> end;
    };
    const Case cases[] = {
        {"Escape", [](QWidget&, x11::Connection&) { EXPECT_TRUE(xdotool("key Escape")); }},
        {"closed by the window manager",
         [](QWidget& modal, x11::Connection& x) {
             xcb_client_message_event_t message{};
             message.response_type = XCB_CLIENT_MESSAGE;
             message.format = 32;
             message.window = static_cast<xcb_window_t>(modal.winId());
             message.type = x.atom("WM_PROTOCOLS");
             message.data.data32[0] = x.atom("WM_DELETE_WINDOW");
             message.data.data32[1] = XCB_CURRENT_TIME;
             xcb_send_event(x.get(), 0, message.window, XCB_EVENT_MASK_NO_EVENT,
                            reinterpret_cast<const char*>(&message));
             xcb_aux_sync(x.get());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AlertRequest request;
        request.title = "Quit now?";
        request.buttons = {"Quit", "Stay"};
        request.fields = {{false, "", "kept"}};
        AlertResponse response =
            answer(request, [&](QWidget& modal) { c.end(modal, client.connection()); });
        EXPECT_EQ(response.button, std::nullopt);
        EXPECT_EQ(response.texts, std::vector<std::string>{"kept"});
    }
}

}  // namespace
}  // namespace nimbrel::test
