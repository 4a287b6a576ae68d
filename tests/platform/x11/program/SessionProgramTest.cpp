// The real program in a session whose login manager and screen saver are the tests' own, on
// private buses.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "../PrivateFolder.h"
#include "../display/TestClient.h"
#include "../session/FakeSession.h"
#include "RunningProgram.h"
#include "platform/x11/ClientWindows.h"
#include "platform/x11/X11Screens.h"

namespace nimbrel::test {
namespace {

// A window designated locked: the settings document the program finds at start.
std::string lockedDesignation(const std::string& title) {
    nlohmann::json binding = {{"id", "00000000-0000-0000-0000-000000000007"},
                              {"bundleID", "Editor"},
                              {"appName", "Editor"},
                              {"title", title},
                              {"locked", true},
                              {"wholeApp", false},
                              {"keepWhenMissing", true}};
    nlohmann::json settings = {{"bindings", nlohmann::json::array({binding})}};
    nlohmann::json defaults = {{"settings.v1", {{"text", settings.dump()}}}};
    return defaults.dump();
}

class SessionProgramTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(client.connected());
        ASSERT_TRUE(session.ready());
        for (const auto& [name, value] : session.environment()) {
            program.setEnvironment(name, value);
        }
    }

    xcb_window_t open(const std::string& title, Rect area) {
        TestClient::Window wanted;
        wanted.title = title;
        wanted.area = area;
        xcb_window_t w = client.open(wanted);
        EXPECT_TRUE(managed(client.connection(), w)) << title;
        return w;
    }
    std::optional<x11::ClientWindow> read(xcb_window_t w) { return windows.read(w); }
    // Parked, or minimised where the window manager keeps every frame on screen.
    bool hidden(xcb_window_t w) {
        auto window = read(w);
        return window && (window->iconic || !screens.layout().showsOnAnyMonitor(window->frame));
    }
    bool iconicAt(xcb_window_t w, const Rect& frame) {
        auto window = read(w);
        return window && window->iconic && window->frame.origin() == frame.origin();
    }
    bool eventually(const std::function<bool()>& done) {
        return test::eventually(client.connection(), done);
    }
    // Until the program holds the login manager's delay lock.
    bool holdsDelayLock() {
        return eventually([&] { return session.inhibitors() == std::pair(1, 1); });
    }

    TestClient client;
    x11::ClientWindows windows{client.connection()};
    x11::X11Screens screens{client.connection()};
    FakeSession session;
    PrivateFolder home;
    RunningProgram program{home / "home"};
};

TEST_F(SessionProgramTest, APowerOffQuitsWithoutAskingAndLeavesTheLockedWindowMinimisedInPlace) {
    program.writeDefaults(lockedDesignation("Diary"));
    xcb_window_t diary = open("Diary", Rect(500, 160, 500, 340));
    Rect frame = read(diary)->frame;
    ASSERT_TRUE(program.start()) << program.log();
    ASSERT_TRUE(holdsDelayLock()) << program.log();
    typeKeys("ctrl+super+e");  // hides the designated windows
    ASSERT_TRUE(eventually([&] { return hidden(diary); })) << program.log();

    ASSERT_TRUE(session.prepareForShutdown(true));
    EXPECT_EQ(program.exited(), 0) << program.log();
    EXPECT_EQ(program.count("quitting for the power-off"), 1) << program.log();
    // A window manager that animates takes a moment to iconify it.
    EXPECT_TRUE(eventually([&] { return iconicAt(diary, frame); }));
    EXPECT_EQ(session.inhibitors(), std::pair(1, 0));
}

TEST(SessionProgramWithoutLoginManagerTest, TheProgramSaysSoOnceAndKeepsRunning) {
    TestClient client;
    ASSERT_TRUE(client.connected());
    FakeSession session(FakeSession::LoginManager::absent);
    ASSERT_TRUE(session.ready());
    PrivateFolder home;
    RunningProgram program{home / "home"};
    for (const auto& [name, value] : session.environment()) {
        program.setEnvironment(name, value);
    }
    ASSERT_TRUE(program.start()) << program.log();
    EXPECT_TRUE(program.waitForLog("no login manager")) << program.log();
    // A lock only the screen saver tells changes nothing for the worse.
    ASSERT_TRUE(session.setScreenSaverActive(true));
    ASSERT_TRUE(session.setScreenSaverActive(false));
    EXPECT_EQ(program.end(SIGTERM), 0) << program.log();
    EXPECT_EQ(program.count("no login manager"), 1) << program.log();
}

}  // namespace
}  // namespace nimbrel::test
