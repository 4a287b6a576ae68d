#include "platform/x11/X11Screens.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/x11/Connection.h"
#include "platform/x11/EventHub.h"

#include <xcb/xcb_aux.h>

// These tests run on the private X server the test command starts (a 2720x900 root window with a
// window manager); they change its monitors and pointer.
namespace nimbrel::test {
namespace {

using x11::Connection;
using x11::X11Screens;

class X11ScreensTest : public ::testing::Test {
  protected:
    void SetUp() override {
        connection = Connection::open();
        ASSERT_NE(connection, nullptr) << "no X server at DISPLAY";
    }
    void TearDown() override {
        std::system(
            "xrandr --delmonitor side >/dev/null 2>&1; "
            "xrandr --delmonitor main >/dev/null 2>&1");
        for (xcb_window_t w : made) {
            xcb_destroy_window(connection->get(), w);
        }
        connection->flush();
    }

    // Two monitors side by side, top edges level: main 1440x900 at the origin, side 1280x800.
    static void splitIntoTwoMonitors() {
        ASSERT_EQ(std::system("xrandr --setmonitor main 1440/380x900/238+0+0 screen && "
                              "xrandr --setmonitor side 1280/338x800/211+1440+0 none"),
                  0);
    }

    // A mapped, unmanaged window that reserves the given strut.
    void dock(std::vector<std::uint32_t> strut) {
        xcb_connection_t* c = connection->get();
        xcb_window_t w = xcb_generate_id(c);
        std::uint32_t values[] = {1};  // override-redirect: the window manager leaves it be
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, connection->root(), 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                          XCB_CW_OVERRIDE_REDIRECT, values);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, connection->atom("_NET_WM_STRUT_PARTIAL"),
                            XCB_ATOM_CARDINAL, 32, static_cast<std::uint32_t>(strut.size()),
                            strut.data());
        xcb_map_window(c, w);
        made.push_back(w);
        xcb_aux_sync(c);
    }

    std::unique_ptr<Connection> connection;
    std::vector<xcb_window_t> made;
};

TEST_F(X11ScreensTest, OneScreenPerMonitorInScreenSpaceWithThePrimaryFirst) {
    X11Screens screens(*connection);
    auto single = screens.screens();
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].frame, Rect(0, 0, 2720, 900));

    splitIntoTwoMonitors();
    auto two = screens.screens();
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].uuid, "main");
    EXPECT_EQ(two[0].frame, Rect(0, 0, 1440, 900));
    EXPECT_EQ(two[1].uuid, "side");
    EXPECT_EQ(two[1].frame, Rect(1440, 100, 1280, 800));
    EXPECT_NE(two[0].displayID, two[1].displayID);
    // Without an active window the main screen is the primary one.
    EXPECT_EQ(screens.mainScreen(), two[0]);
}

TEST_F(X11ScreensTest, AVisibleFrameLeavesOutWhatADockReservesOverItsMonitor) {
    splitIntoTwoMonitors();
    // A 24-point panel along the bottom of the main monitor only.
    dock({0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 1439});
    X11Screens screens(*connection);
    auto all = screens.screens();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].visibleFrame, Rect(0, 24, 1440, 876));
    EXPECT_EQ(all[1].visibleFrame, all[1].frame);
}

// What the events must tell a remembering reader: it answers from memory, and a change it was not
// told of would leave hidden windows placed by a stale layout.
TEST_F(X11ScreensTest, RememberedScreensFollowMonitorsAndDocksAsTheyChange) {
    x11::EventHub events(*connection);
    X11Screens screens(*connection, events);
    auto settled = [&] {
        xcb_aux_sync(connection->get());
        events.drain();
        // Past the moment for which monitors are remembered without an event.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return screens.screens();
    };
    ASSERT_EQ(settled().size(), 1u);

    splitIntoTwoMonitors();
    ASSERT_EQ(settled().size(), 2u);

    dock({0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 1439});
    EXPECT_EQ(settled()[0].visibleFrame, Rect(0, 24, 1440, 876));

    // The dock grows: its reservation changes on the window itself.
    std::uint32_t taller[] = {0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 1439};
    xcb_change_property(connection->get(), XCB_PROP_MODE_REPLACE, made.back(),
                        connection->atom("_NET_WM_STRUT_PARTIAL"), XCB_ATOM_CARDINAL, 32, 12,
                        taller);
    EXPECT_EQ(settled()[0].visibleFrame, Rect(0, 40, 1440, 860));

    xcb_unmap_window(connection->get(), made.back());
    EXPECT_EQ(settled()[0].visibleFrame, settled()[0].frame);
}

TEST_F(X11ScreensTest, ThePointerIsReportedInScreenSpace) {
    splitIntoTwoMonitors();
    xcb_warp_pointer(connection->get(), XCB_WINDOW_NONE, connection->root(), 0, 0, 0, 0, 2000, 0);
    xcb_aux_sync(connection->get());
    X11Screens screens(*connection);
    Point at = screens.mouseLocation();
    EXPECT_EQ(at, (Point{2000, 900}));
    // The top row of the side screen belongs to it, in screen space as in the server's.
    EXPECT_TRUE(screens.screens()[1].frame.containsInScreenSpace(at));
}

}  // namespace
}  // namespace nimbrel::test
