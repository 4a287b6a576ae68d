// The real program on a virtual X server with a real window manager, driven by its real
// shortcuts as key events.
#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xcb_aux.h>

#include <nlohmann/json.hpp>

#include "../PrivateFolder.h"
#include "../display/TestClient.h"
#include "RunningProgram.h"
#include "platform/x11/ClientWindows.h"
#include "platform/x11/VirtualKeys.h"
#include "platform/x11/X11Screens.h"

namespace nimbrel::test {
namespace {

using namespace std::chrono_literals;

// The default shortcuts: Control and Super with a letter.
constexpr const char* kHideFocused = "ctrl+super+w";
constexpr const char* kHideDesignated = "ctrl+super+e";
constexpr const char* kDesignate = "ctrl+super+s";
// Longer than the default hold of one second.
constexpr auto kHold = 1600ms;

class ProgramTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(client.connected()); }

    xcb_window_t open(const std::string& title, Rect area) {
        TestClient::Window wanted;
        wanted.title = title;
        wanted.area = area;
        xcb_window_t w = client.open(wanted);
        EXPECT_TRUE(managed(client.connection(), w)) << title;
        return w;
    }

    std::optional<x11::ClientWindow> read(xcb_window_t w) { return windows.read(w); }

    bool parked(xcb_window_t w) {
        auto window = read(w);
        return window && !window->iconic && !screens.layout().showsOnAnyMonitor(window->frame);
    }
    bool skipsTaskbar(xcb_window_t w) {
        auto window = read(w);
        return window && window->hasState("_NET_WM_STATE_SKIP_TASKBAR");
    }
    bool skipsPager(xcb_window_t w) {
        auto window = read(w);
        return window && window->hasState("_NET_WM_STATE_SKIP_PAGER");
    }
    bool iconicAt(xcb_window_t w, const Rect& frame) {
        auto window = read(w);
        return window && window->iconic && window->frame.origin() == frame.origin();
    }
    bool focus(xcb_window_t w) {
        windows.activate(w);
        return eventually([&] { return windows.active() == w; });
    }
    bool eventually(const std::function<bool()>& done) {
        return test::eventually(client.connection(), done);
    }

    TestClient client;
    x11::ClientWindows windows{client.connection()};
    x11::X11Screens screens{client.connection()};
    PrivateFolder home;
    RunningProgram program{home / "home"};
};

TEST_F(ProgramTest, HidingTheFocusedWindowParksItAndHoldingBringsItBackAsItWas) {
    if (windowManagerClamps()) {
        GTEST_SKIP() << "this window manager keeps every frame on screen";
    }
    xcb_window_t notes = open("Notes", Rect(60, 80, 400, 300));
    xcb_window_t bank = open("Bank statement", Rect(500, 160, 500, 340));
    // A mark of its own that the window must get back untouched.
    windows.setState(bank, "_NET_WM_STATE_SKIP_PAGER", true);
    ASSERT_TRUE(eventually([&] { return skipsPager(bank); }));
    Rect frame = read(bank)->frame;
    ASSERT_TRUE(focus(bank));
    ASSERT_TRUE(program.start()) << program.log();

    typeKeys(kHideFocused);
    EXPECT_TRUE(eventually([&] { return parked(bank); })) << program.log();
    EXPECT_TRUE(skipsTaskbar(bank));
    EXPECT_TRUE(eventually([&] { return windows.active() == notes; }));
    EXPECT_TRUE(parked(bank) && !parked(notes));

    holdKeys(kHideFocused, kHold);
    EXPECT_TRUE(eventually([&] { return read(bank) && read(bank)->frame == frame; }))
        << program.log();
    EXPECT_FALSE(skipsTaskbar(bank));
    EXPECT_TRUE(skipsPager(bank));
}

TEST_F(ProgramTest, DesignatedWindowsHideTogether) {
    if (windowManagerClamps()) {
        GTEST_SKIP() << "this window manager keeps every frame on screen";
    }
    xcb_window_t mail = open("Mail", Rect(40, 60, 360, 260));
    xcb_window_t chat = open("Chat", Rect(440, 60, 360, 260));
    xcb_window_t music = open("Music", Rect(840, 60, 360, 260));
    ASSERT_TRUE(program.start()) << program.log();
    for (xcb_window_t w : {mail, chat}) {
        ASSERT_TRUE(focus(w));
        typeKeys(kDesignate);
    }
    // Designating is quiet: nothing moves yet.
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(parked(mail) || parked(chat));

    typeKeys(kHideDesignated);
    EXPECT_TRUE(eventually([&] { return parked(mail) && parked(chat); })) << program.log();
    EXPECT_FALSE(parked(music));
}

TEST_F(ProgramTest, AClampingWindowManagerLeavesTheHiddenWindowMinimisedInItsPlace) {
    if (!windowManagerClamps()) {
        GTEST_SKIP() << "this window manager lets windows leave the screen";
    }
    open("Notes", Rect(60, 80, 400, 300));
    xcb_window_t bank = open("Bank statement", Rect(500, 160, 500, 340));
    Rect frame = read(bank)->frame;
    ASSERT_TRUE(focus(bank));
    ASSERT_TRUE(program.start()) << program.log();

    typeKeys(kHideFocused);
    EXPECT_TRUE(eventually([&] { return iconicAt(bank, frame); })) << program.log();
}

TEST_F(ProgramTest, ACombinationAnotherClientHoldsIsReportedUnavailable) {
    xcb_connection_t* c = client.connection().get();
    auto w = x11::keycodeFor(13);  // the key right of Q, W on most layouts
    ASSERT_TRUE(w);
    xcb_grab_key(c, 0, client.connection().root(), XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_4, *w,
                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_aux_sync(c);
    ASSERT_TRUE(program.start()) << program.log();
    EXPECT_EQ(program.count("shortcut unavailable: hide the focused window"), 1) << program.log();
    EXPECT_EQ(program.count("shortcut unavailable"), 1) << program.log();
}

TEST_F(ProgramTest, AddingAMonitorWhereAParkedWindowWaitsParksItAgain) {
    if (windowManagerClamps()) {
        GTEST_SKIP() << "this window manager keeps every frame on screen";
    }
    // The server is wider than its one monitor: a parked window waits beyond the monitor's right
    // edge, where a second monitor can appear.
    ASSERT_EQ(std::system("xrandr --setmonitor main 1280/338x900/238+0+0 screen"), 0);
    xcb_window_t bank = open("Bank statement", Rect(500, 160, 500, 340));
    ASSERT_TRUE(focus(bank));
    ASSERT_TRUE(program.start()) << program.log();
    typeKeys(kHideFocused);
    ASSERT_TRUE(eventually([&] { return parked(bank); })) << program.log();

    ASSERT_EQ(std::system("xrandr --setmonitor side 1440/381x900/238+1280+0 none"), 0);
    EXPECT_TRUE(eventually([&] { return parked(bank); })) << program.log();
    ASSERT_EQ(std::system("xrandr --delmonitor side"), 0);
    EXPECT_TRUE(eventually([&] { return parked(bank); }));
    std::system("xrandr --delmonitor main >/dev/null 2>&1");
}

TEST_F(ProgramTest, AWindowThatVanishesWhileBeingHiddenCostsOnlyThatWindow) {
    if (windowManagerClamps()) {
        GTEST_SKIP() << "this window manager keeps every frame on screen";
    }
    xcb_window_t notes = open("Notes", Rect(60, 80, 400, 300));
    ASSERT_TRUE(program.start()) << program.log();
    {
        TestClient other;
        TestClient::Window wanted;
        wanted.title = "Short-lived";
        xcb_window_t brief = other.open(wanted);
        ASSERT_TRUE(managed(client.connection(), brief));
        ASSERT_TRUE(focus(brief));
        typeKeys(kHideFocused);
    }  // the client and its window are gone while the program works on them
    ASSERT_TRUE(focus(notes));
    typeKeys(kHideFocused);
    EXPECT_TRUE(eventually([&] { return parked(notes); })) << program.log();
    EXPECT_TRUE(program.running());
}

TEST_F(ProgramTest, TheSessionsEndLeavesUnlockedWindowsMinimisedAndLockedOnesParked) {
    if (windowManagerClamps()) {
        GTEST_SKIP() << "this window manager keeps every frame on screen";
    }
    // "Diary" is designated locked; a hide of the focused window does not lock.
    nlohmann::json diaryBinding = {{"id", "00000000-0000-0000-0000-000000000001"},
                                   {"bundleID", "Editor"},
                                   {"appName", "Editor"},
                                   {"title", "Diary"},
                                   {"locked", true},
                                   {"wholeApp", false},
                                   {"keepWhenMissing", true}};
    nlohmann::json settings = {{"bindings", nlohmann::json::array({diaryBinding})}};
    nlohmann::json defaults = {{"settings.v1", {{"text", settings.dump()}}}};
    program.writeDefaults(defaults.dump());
    xcb_window_t notes = open("Notes", Rect(60, 80, 400, 300));
    xcb_window_t diary = open("Diary", Rect(500, 160, 500, 340));
    Rect notesFrame = read(notes)->frame;
    ASSERT_TRUE(program.start()) << program.log();
    typeKeys(kHideDesignated);
    ASSERT_TRUE(eventually([&] { return parked(diary); })) << program.log();
    ASSERT_TRUE(focus(notes));
    typeKeys(kHideFocused);
    ASSERT_TRUE(eventually([&] { return parked(notes); })) << program.log();

    EXPECT_EQ(program.end(SIGTERM), 0) << program.log();
    EXPECT_TRUE(iconicAt(notes, notesFrame));
    EXPECT_FALSE(skipsTaskbar(notes));
    EXPECT_TRUE(parked(diary));
    EXPECT_TRUE(skipsTaskbar(diary));

    // The next start takes the locked window over again.
    ASSERT_TRUE(program.start()) << program.log();
    EXPECT_TRUE(program.waitForLog("adopted 1 parked windows")) << program.log();
    EXPECT_TRUE(parked(diary));
}

}  // namespace
}  // namespace nimbrel::test
