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

// A window designated, locked or not: the settings document the program finds at start.
std::string designation(const std::string& title, bool locked) {
    nlohmann::json binding = {{"id", "00000000-0000-0000-0000-000000000007"},
                              {"bundleID", "Editor"},
                              {"appName", "Editor"},
                              {"title", title},
                              {"locked", locked},
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

TEST_F(SessionProgramTest, APowerOffQuitsWithoutAskingAndKeepsTheLockedWindowOutOfSight) {
    program.writeDefaults(designation("Diary", true));
    xcb_window_t diary = open("Diary", Rect(500, 160, 500, 340));
    ASSERT_TRUE(program.start()) << program.log();
    ASSERT_TRUE(holdsDelayLock()) << program.log();
    typeKeys("ctrl+super+e");  // hides the designated windows
    ASSERT_TRUE(eventually([&] { return hidden(diary); })) << program.log();

    ASSERT_TRUE(session.prepareForShutdown(true));
    EXPECT_EQ(program.exited(), 0) << program.log();
    EXPECT_EQ(program.count("quitting for the power-off"), 1) << program.log();
    // No way around the lock: the window stays hidden, and the next start adopts it.
    EXPECT_TRUE(hidden(diary));
    EXPECT_EQ(session.inhibitors(), std::pair(1, 0));
    ASSERT_TRUE(program.start()) << program.log();
    EXPECT_TRUE(hidden(diary));
}

TEST_F(SessionProgramTest, TheMachineSleepsOnlyOnceTheDesignatedWindowsAreHidden) {
    program.writeDefaults(designation("Diary", false));
    xcb_window_t diary = open("Diary", Rect(500, 160, 500, 340));
    ASSERT_TRUE(program.start()) << program.log();
    ASSERT_TRUE(holdsDelayLock()) << program.log();

    ASSERT_TRUE(session.prepareForSleep(true));
    // The moment the delay lock goes, the machine may sleep: the window must be gone by then.
    ASSERT_TRUE(eventually([&] { return session.inhibitors().second == 0; })) << program.log();
    EXPECT_TRUE(hidden(diary));
    EXPECT_TRUE(program.waitForLog("sleep: hid 1/1")) << program.log();

    // Awake again: the lock is taken for the next sleep.
    ASSERT_TRUE(session.prepareForSleep(false));
    EXPECT_TRUE(eventually([&] { return session.inhibitors() == std::pair(2, 1); }));
}

TEST_F(SessionProgramTest, LockingAndUnlockingTheScreenHideTheDesignatedWindows) {
    program.writeDefaults(designation("Diary", false));
    xcb_window_t diary = open("Diary", Rect(500, 160, 500, 340));
    ASSERT_TRUE(program.start()) << program.log();
    ASSERT_TRUE(holdsDelayLock()) << program.log();
    // The program listens to its session once it has found it, and then reads its lock state.
    ASSERT_TRUE(eventually([&] { return session.called("Get") > 0; })) << program.log();

    ASSERT_TRUE(session.lock());
    EXPECT_TRUE(program.waitForLog("lock: hid 1/1")) << program.log();
    EXPECT_TRUE(eventually([&] { return hidden(diary); }));
    // Nothing is left in sight at the unlock, and the second pass finds nothing either.
    ASSERT_TRUE(session.unlock());
    EXPECT_TRUE(program.waitForLog("unlock: hid 0/0")) << program.log();
    EXPECT_EQ(program.count("lock: hid 1/1"), 1) << program.log();
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
