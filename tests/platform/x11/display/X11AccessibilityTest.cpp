#include "platform/x11/X11Accessibility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/AccessibilityNames.h"
#include "platform/x11/ClientWindows.h"
#include "platform/x11/display/TestClient.h"

namespace nimbrel::test {
namespace {

using x11::Connection;
using x11::X11Accessibility;
using x11::X11Screens;

class X11AccessibilityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        connection = Connection::open();
        ASSERT_NE(connection, nullptr) << "no X server at DISPLAY";
        ASSERT_TRUE(client.connected());
        screens.emplace(*connection);
        events.emplace(*connection);
        ax.emplace(*connection, *screens, *events);
        ax->setMessagingTimeout(ax->systemWideElement(), 5);
    }
    void TearDown() override {
        for (xcb_window_t w : opened) {
            client.close(w);
        }
    }

    ElementRef open(const TestClient::Window& wanted) {
        xcb_window_t w = client.open(wanted);
        opened.push_back(w);
        EXPECT_TRUE(managed(*connection, w)) << "the window manager did not take the window";
        return X11Accessibility::windowElement(w);
    }

    template <typename T>
    T get(ElementRef element, std::string_view attribute) {
        AXValue value;
        EXPECT_EQ(ax->copyAttributeValue(element, attribute, value), AXError::success) << attribute;
        return std::holds_alternative<T>(value) ? std::get<T>(value) : T{};
    }

    std::unique_ptr<Connection> connection;
    TestClient client;
    std::optional<X11Screens> screens;
    std::optional<x11::EventHub> events;
    std::optional<X11Accessibility> ax;
    std::vector<xcb_window_t> opened;
};

TEST_F(X11AccessibilityTest, AnApplicationIsTheProcessOfItsWindowsFrontToBack) {
    TestClient::Window first;
    first.title = "Inbox";
    ElementRef inbox = open(first);
    TestClient::Window second;
    second.title = "Settings";
    second.type = "_NET_WM_WINDOW_TYPE_DIALOG";
    ElementRef settings = open(second);
    TestClient::Window third;
    third.title = "Tools";
    third.type = "_NET_WM_WINDOW_TYPE_UTILITY";
    ElementRef tools = open(third);
    ASSERT_EQ(ax->setAttributeValue(inbox, ax::attribute::kMain, AXValue(true)), AXError::success);

    ElementRef app = ax->applicationElement(::getpid());
    // The manager raises the window it activated in its own time.
    ASSERT_TRUE(eventually(*connection, [&] {
        auto windows = get<std::vector<ElementRef>>(app, ax::attribute::kWindows);
        return windows.size() == 3 && windows.front() == inbox;
    }));
    EXPECT_EQ(get<ElementRef>(app, ax::attribute::kFocusedWindow), inbox);
    EXPECT_TRUE(get<bool>(app, ax::attribute::kFrontmost));
    EXPECT_EQ(get<ElementRef>(ax->systemWideElement(), ax::attribute::kFocusedApplication), app);

    EXPECT_EQ(get<std::string>(inbox, ax::attribute::kTitle), "Inbox");
    EXPECT_EQ(get<std::string>(inbox, ax::attribute::kRole), ax::role::kWindow);
    EXPECT_EQ(get<std::string>(inbox, ax::attribute::kSubrole), ax::subrole::kStandardWindow);
    EXPECT_EQ(get<std::string>(settings, ax::attribute::kSubrole), ax::subrole::kDialog);
    EXPECT_EQ(get<std::string>(tools, ax::attribute::kSubrole), ax::subrole::kFloatingWindow);
    EXPECT_TRUE(get<bool>(inbox, ax::attribute::kFocused));
    EXPECT_FALSE(get<bool>(settings, ax::attribute::kFocused));

    Pid pid = 0;
    EXPECT_EQ(ax->processID(settings, pid), AXError::success);
    EXPECT_EQ(pid, ::getpid());
    WindowNumber number = 0;
    EXPECT_EQ(ax->windowNumber(settings, number), AXError::success);
    EXPECT_EQ(number, opened[1]);
}

TEST_F(X11AccessibilityTest, AWriteTellsWhereTheWindowReallyEndedUp) {
    ElementRef w = open({});
    auto start = get<Point>(w, ax::attribute::kPosition);
    ASSERT_EQ(ax->setAttributeValue(w, ax::attribute::kPosition, AXValue(Point{6000, 4000})),
              AXError::success);
    Point parked = get<Point>(w, ax::attribute::kPosition);
    if (windowManagerClamps()) {
        // The manager kept the frame on screen, and the read right after the write says so; a
        // window in sight keeps its place in the taskbar.
        EXPECT_LT(parked.x, 2720);
        EXPECT_LT(parked.y, 900);
        EXPECT_TRUE(eventually(*connection, [&] {
            auto read = x11::ClientWindows(*connection).read(opened.back());
            return !read->hasState("_NET_WM_STATE_SKIP_TASKBAR");
        }));
    } else {
        EXPECT_EQ(parked, (Point{6000, 4000}));
    }
    ASSERT_EQ(ax->setAttributeValue(w, ax::attribute::kPosition, AXValue(start)), AXError::success);
    EXPECT_EQ(get<Point>(w, ax::attribute::kPosition), start);

    ASSERT_EQ(ax->setAttributeValue(w, ax::attribute::kMinimized, AXValue(true)), AXError::success);
    EXPECT_TRUE(get<bool>(w, ax::attribute::kMinimized));
    ASSERT_EQ(ax->setAttributeValue(w, ax::attribute::kMinimized, AXValue(false)),
              AXError::success);
    EXPECT_FALSE(get<bool>(w, ax::attribute::kMinimized));
    EXPECT_EQ(ax->performAction(w, ax::action::kRaise), AXError::success);
}

TEST_F(X11AccessibilityTest, AParkedWindowLeavesTheTaskbarAndPagerAndGetsItsMarksBack) {
    if (windowManagerClamps()) {
        GTEST_SKIP() << "this manager keeps every frame on a monitor";
    }
    ElementRef w = open({});
    xcb_window_t id = opened.back();
    x11::ClientWindows windows(*connection);
    // The window skipped the pager already; only that is given back.
    windows.setState(id, "_NET_WM_STATE_SKIP_PAGER", true);
    ASSERT_TRUE(eventually(*connection,
                           [&] { return windows.read(id)->hasState("_NET_WM_STATE_SKIP_PAGER"); }));
    auto start = get<Point>(w, ax::attribute::kPosition);
    auto marks = [&] {
        auto read = windows.read(id);
        return std::make_pair(read->hasState("_NET_WM_STATE_SKIP_TASKBAR"),
                              read->hasState("_NET_WM_STATE_SKIP_PAGER"));
    };

    ASSERT_EQ(ax->setAttributeValue(w, ax::attribute::kPosition, AXValue(Point{6000, 4000})),
              AXError::success);
    EXPECT_TRUE(eventually(*connection, [&] { return marks() == std::make_pair(true, true); }));
    // Parked again elsewhere (a screen change): what it had before the first park still counts.
    ASSERT_EQ(ax->setAttributeValue(w, ax::attribute::kPosition, AXValue(Point{7000, 4000})),
              AXError::success);

    // A later run of the program brings it back.
    X11Accessibility later(*connection, *screens, *events);
    ASSERT_EQ(later.setAttributeValue(w, ax::attribute::kPosition, AXValue(start)),
              AXError::success);
    EXPECT_TRUE(eventually(*connection, [&] { return marks() == std::make_pair(false, true); }));
}

TEST_F(X11AccessibilityTest, AWindowThatIsGoneIsAnInvalidElement) {
    ElementRef w = open({});
    client.close(opened.back());
    opened.pop_back();
    AXValue value;
    EXPECT_TRUE(eventually(*connection, [&] {
        return ax->copyAttributeValue(w, ax::attribute::kTitle, value) == AXError::invalidElement;
    }));
    EXPECT_EQ(ax->setAttributeValue(w, ax::attribute::kMinimized, AXValue(true)),
              AXError::invalidElement);
    EXPECT_EQ(ax->performAction(w, ax::action::kRaise), AXError::invalidElement);
    EXPECT_EQ(ax->copyAttributeValue(ElementRef{12345}, ax::attribute::kTitle, value),
              AXError::invalidElement);
    for (double seconds : {-1.0, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN(), 1e300}) {
        EXPECT_EQ(ax->setMessagingTimeout(ax->systemWideElement(), seconds),
                  AXError::illegalArgument)
            << seconds;
    }
}

TEST_F(X11AccessibilityTest, ObserversHearTheChangesOfTheWindowsTheyWatch) {
    ElementRef w = open({});
    std::vector<std::string> heard;
    std::vector<ElementRef> about;
    ObserverRef observer = ax->createObserver(::getpid(), [&](ElementRef e, const std::string& n) {
        heard.push_back(n);
        about.push_back(e);
    });
    ASSERT_TRUE(observer);
    ElementRef app = ax->applicationElement(::getpid());
    for (auto n : {ax::notification::kWindowMoved, ax::notification::kWindowMiniaturized,
                   ax::notification::kWindowDeminiaturized, ax::notification::kTitleChanged,
                   ax::notification::kElementDestroyed}) {
        ASSERT_EQ(ax->addNotification(observer, w, n), AXError::success) << n;
    }
    ASSERT_EQ(ax->addNotification(observer, app, ax::notification::kWindowCreated),
              AXError::success);
    ASSERT_EQ(ax->addNotification(observer, app, ax::notification::kFocusedWindowChanged),
              AXError::success);
    auto hears = [&](std::string_view n) {
        return eventually(*connection, [&] {
            events->drain();
            return std::find(heard.begin(), heard.end(), n) != heard.end();
        });
    };

    ASSERT_EQ(ax->setAttributeValue(w, ax::attribute::kPosition, AXValue(Point{300, 200})),
              AXError::success);
    EXPECT_TRUE(hears(ax::notification::kWindowMoved));
    ASSERT_EQ(ax->setAttributeValue(w, ax::attribute::kMinimized, AXValue(true)), AXError::success);
    EXPECT_TRUE(hears(ax::notification::kWindowMiniaturized));
    ASSERT_EQ(ax->setAttributeValue(w, ax::attribute::kMinimized, AXValue(false)),
              AXError::success);
    EXPECT_TRUE(hears(ax::notification::kWindowDeminiaturized));

    TestClient::Window later;
    later.title = "Later";
    ElementRef second = open(later);
    EXPECT_TRUE(eventually(*connection, [&] {
        events->drain();
        for (std::size_t i = 0; i < heard.size(); ++i) {
            if (heard[i] == ax::notification::kWindowCreated && about[i] == second) {
                return true;
            }
        }
        return false;
    }));
    // The focus moves to whichever of the two does not hold it.
    ElementRef unfocused = get<bool>(w, ax::attribute::kFocused) ? second : w;
    ASSERT_EQ(ax->setAttributeValue(unfocused, ax::attribute::kMain, AXValue(true)),
              AXError::success);
    EXPECT_TRUE(hears(ax::notification::kFocusedWindowChanged));

    // Once removed, a notification is no longer heard; the window's end still is.
    ASSERT_EQ(ax->removeNotification(observer, w, ax::notification::kWindowMoved),
              AXError::success);
    heard.clear();
    ASSERT_EQ(ax->setAttributeValue(w, ax::attribute::kPosition, AXValue(Point{320, 220})),
              AXError::success);
    client.close(opened.front());
    opened.erase(opened.begin());
    EXPECT_TRUE(hears(ax::notification::kElementDestroyed));
    EXPECT_EQ(std::count(heard.begin(), heard.end(), ax::notification::kWindowMoved), 0);

    ax->destroyObserver(observer);
    heard.clear();
    client.close(opened.front());
    opened.erase(opened.begin());
    // The server has sent every event of the close once a round trip after it returns.
    xcb_aux_sync(connection->get());
    events->drain();
    EXPECT_TRUE(heard.empty());
}

}  // namespace
}  // namespace nimbrel::test
