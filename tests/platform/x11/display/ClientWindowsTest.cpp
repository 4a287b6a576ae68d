#include "platform/x11/ClientWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/x11/display/TestClient.h"

namespace nimbrel::test {
namespace {

using x11::ClientWindow;
using x11::ClientWindows;
using x11::Connection;

class ClientWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        connection = Connection::open();
        ASSERT_NE(connection, nullptr) << "no X server at DISPLAY";
        ASSERT_TRUE(client.connected());
        windows.emplace(*connection);
    }

    // Opens a window and waits until the window manager has framed it.
    xcb_window_t managed(const TestClient::Window& wanted = {}) {
        xcb_window_t w = client.open(wanted);
        EXPECT_TRUE(test::managed(*connection, w)) << "the window manager did not take the window";
        return w;
    }

    ClientWindow now(xcb_window_t w) {
        auto read = windows->read(w);
        EXPECT_TRUE(read.has_value());
        return read.value_or(ClientWindow{});
    }

    std::unique_ptr<Connection> connection;
    TestClient client;
    std::optional<ClientWindows> windows;
};

TEST_F(ClientWindowsTest, AWindowReadsAsItsClientMadeItInsideTheManagersFrame) {
    TestClient::Window wanted;
    wanted.title = "Bank — statement";
    wanted.type = "_NET_WM_WINDOW_TYPE_DIALOG";
    xcb_window_t w = managed(wanted);
    ClientWindow read = now(w);
    EXPECT_EQ(read.title, "Bank — statement");
    EXPECT_EQ(read.pid, ::getpid());
    EXPECT_EQ(read.type, "_NET_WM_WINDOW_TYPE_DIALOG");
    EXPECT_EQ(read.instance, "editor");
    EXPECT_EQ(read.className, "Editor");
    EXPECT_EQ(read.clientArea.size(), (Size{400, 300}));
    EXPECT_EQ(read.frame.intersection(read.clientArea), read.clientArea);
    EXPECT_FALSE(read.iconic);

    client.close(w);
    EXPECT_TRUE(eventually(*connection, [&] { return !windows->read(w); }));
}

TEST_F(ClientWindowsTest, AWindowWithoutAPidIsKnownByItsConnection) {
    TestClient::Window wanted;
    wanted.sayPid = false;
    EXPECT_EQ(now(managed(wanted)).pid, ::getpid());
}

TEST_F(ClientWindowsTest, AMoveBeyondTheScreensParksTheFrameUnlessTheManagerClampsIt) {
    xcb_window_t w = managed();
    Rect before = now(w).frame;
    windows->moveFrame(now(w), Point{5000, 5000});
    if (windowManagerClamps()) {
        // Reported as it is: still partly on the root window, so the caller can fall back.
        ASSERT_TRUE(eventually(*connection, [&] { return now(w).frame != before; }));
        EXPECT_FALSE(now(w).frame.intersection(Rect(0, 0, 2720, 900)).isEmpty());
        return;
    }
    ASSERT_TRUE(eventually(*connection, [&] {
        return now(w).frame.origin() == Point{5000, 5000};
    }));
    windows->moveFrame(now(w), before.origin());
    EXPECT_TRUE(eventually(*connection, [&] { return now(w).frame == before; }));
}

TEST_F(ClientWindowsTest, IconifyingActivatingAndMarkingAreAnsweredByTheManager) {
    xcb_window_t w = managed();
    windows->iconify(w);
    ASSERT_TRUE(eventually(*connection, [&] { return now(w).iconic; }));
    windows->activate(w);
    ASSERT_TRUE(eventually(*connection, [&] { return !now(w).iconic; }));
    EXPECT_TRUE(eventually(*connection, [&] { return windows->active() == w; }));

    windows->setState(w, "_NET_WM_STATE_SKIP_TASKBAR", true);
    windows->setState(w, "_NET_WM_STATE_SKIP_PAGER", true);
    ASSERT_TRUE(eventually(*connection, [&] {
        ClientWindow read = now(w);
        return read.hasState("_NET_WM_STATE_SKIP_TASKBAR") &&
               read.hasState("_NET_WM_STATE_SKIP_PAGER");
    }));
    windows->setState(w, "_NET_WM_STATE_SKIP_TASKBAR", false);
    EXPECT_TRUE(eventually(*connection, [&] {
        ClientWindow read = now(w);
        return !read.hasState("_NET_WM_STATE_SKIP_TASKBAR") &&
               read.hasState("_NET_WM_STATE_SKIP_PAGER");
    }));
}

}  // namespace
}  // namespace nimbrel::test
