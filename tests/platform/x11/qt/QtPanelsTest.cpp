#include "platform/x11/qt/QtPanels.h"
#include "platform/x11/qt/QtTextMetrics.h"

#include <gtest/gtest.h>

#include <QtGui/QImage>
#include <QtGui/QPixmap>
#include <QtGui/QScreen>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/x11/ClientWindows.h"
#include "platform/x11/display/TestClient.h"
#include "platform/x11/qt/QtDisplay.h"
#include "platform/x11/qt/QtMainLoop.h"

// These tests run on the private X server the test command starts (a 1280x800 root window with
// a window manager): the panels are real windows, looked at from another client.
namespace nimbrel::test {
namespace {

using x11::ClientWindows;
using x11::QtPanel;
using x11::QtPanels;

class QtPanelsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        connection = qtConnection();
        ASSERT_NE(connection, nullptr) << "Qt is not on an X server";
        ASSERT_TRUE(client.connected());
        screens = std::make_unique<x11::X11Screens>(*connection);
        panels = std::make_unique<QtPanels>(*connection, *screens, loop);
    }
    void TearDown() override {
        for (xcb_window_t w : opened) {
            client.close(w);
        }
        std::system(
            "xrandr --delmonitor left >/dev/null 2>&1; "
            "xrandr --delmonitor right >/dev/null 2>&1");
    }

    std::unique_ptr<QtPanel> make(PanelSpec description) {
        auto panel = panels->makePanel(description);
        auto* ours = dynamic_cast<QtPanel*>(panel.get());
        if (ours == nullptr) {
            return nullptr;
        }
        panel.release();
        return std::unique_ptr<QtPanel>(ours);
    }

    // A foreign window, managed and framed before the test goes on.
    xcb_window_t open(Rect area, const std::string& title = "Document") {
        TestClient::Window wanted;
        wanted.title = title;
        wanted.area = area;
        xcb_window_t w = client.open(wanted);
        opened.push_back(w);
        EXPECT_TRUE(managed(client.connection(), w));
        return w;
    }

    void activate(xcb_window_t w) {
        ClientWindows(client.connection()).activate(w);
        ASSERT_TRUE(eventually(client.connection(), [&] {
            return activeWindow(client.connection()) == w && inputFocus(client.connection()) == w;
        }));
    }

    bool shown(QtPanel& panel) {
        return spinUntil([&] { return viewable(client.connection(), panel.window()); });
    }

    // The root's children from the bottom of the stack to the top.
    std::vector<xcb_window_t> stack() {
        xcb_connection_t* c = client.connection().get();
        x11::Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(c, xcb_query_tree(c, client.connection().root()), nullptr));
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        return {children, children + xcb_query_tree_children_length(tree.get())};
    }

    std::ptrdiff_t height(xcb_window_t w) {
        xcb_window_t top = ClientWindows(client.connection()).topLevelOf(w);
        auto order = stack();
        return std::find(order.begin(), order.end(), top) - order.begin();
    }

    Rect rootGeometry(xcb_window_t w) {
        xcb_connection_t* c = client.connection().get();
        x11::Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr));
        x11::Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
            c, xcb_translate_coordinates(c, w, client.connection().root(), 0, 0), nullptr));
        if (!geometry || !at) {
            return {};
        }
        return Rect(at->dst_x, at->dst_y, geometry->width, geometry->height);
    }

    TestClient client;
    std::unique_ptr<x11::Connection> connection;
    std::unique_ptr<x11::X11Screens> screens;
    x11::QtTextMetrics metrics;
    x11::QtMainLoop loop;
    std::unique_ptr<QtPanels> panels;
    std::vector<xcb_window_t> opened;
};

PanelSpec at(PanelLevel level) {
    PanelSpec description;
    description.level = level;
    return description;
}

TEST_F(QtPanelsTest, AFrameComesBackAsGivenAndLandsWhereScreenSpaceSays) {
    // In the two-monitor layout the primary monitor (the one at the root's origin) is shorter
    // than the root: screen space starts at its bottom-left corner, root (0, 600), and the
    // taller monitor beside it reaches below that.
    struct Case {
        const char* what;
        const char* monitors;
        Rect frame;
        Rect root;
    };
    const Case cases[] = {
        {"one monitor", nullptr, Rect(100, 200, 300, 80), Rect(100, 520, 300, 80)},
        {"one monitor, fractions rounded on the window only", nullptr,
         Rect(100.4, 200.25, 300.5, 80.5), Rect(100, 519, 301, 81)},
        {"two monitors, low on the taller one beside the primary",
         "xrandr --setmonitor left 640/169x600/159+0+0 screen && "
         "xrandr --setmonitor right 640/169x800/211+640+0 none",
         Rect(700, -150, 200, 100), Rect(700, 650, 200, 100)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.monitors != nullptr) {
            ASSERT_EQ(std::system(c.monitors), 0);
        }
        auto panel = make(at(PanelLevel::screenSaver));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->frame(), Rect());
        EXPECT_FALSE(panel->isVisible());
        panel->setFrame(c.frame, true);
        panel->orderFrontRegardless();
        ASSERT_TRUE(shown(*panel));
        EXPECT_EQ(panel->frame(), c.frame);
        EXPECT_TRUE(spinUntil([&] { return rootGeometry(panel->window()) == c.root; }))
            << "at " << rootGeometry(panel->window()).x << "," << rootGeometry(panel->window()).y;
    }
}

TEST_F(QtPanelsTest, AShownPanelLeavesTheFocusWithTheActiveWindow) {
    struct Case {
        const char* what;
        PanelLevel level;
        bool passesClicks;
        bool asKey;
    };
    const Case cases[] = {
        {"a notice above every window", PanelLevel::statusBar, true, false},
        {"a panel above every window that takes clicks", PanelLevel::statusBar, false, false},
        {"a cover among ordinary windows", PanelLevel::normal, true, false},
        {"a guard above everything", PanelLevel::screenSaver, false, false},
        {"a panel that takes clicks asked to become key", PanelLevel::statusBar, false, true},
    };
    xcb_window_t document = open(Rect(100, 100, 500, 400));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        activate(document);
        PanelSpec description = at(c.level);
        description.passesClicks = c.passesClicks;
        auto panel = make(description);
        ASSERT_NE(panel, nullptr);
        panel->setFrame(Rect(200, 300, 300, 200), false);
        if (c.asKey) {
            panel->makeKeyAndOrderFront();
        } else {
            panel->orderFrontRegardless();
        }
        ASSERT_TRUE(shown(*panel));
        // The manager has taken a managed panel on once it has told it its frame.
        if (panel->isManaged()) {
            ASSERT_TRUE(managed(client.connection(), panel->window()));
        }
        drainQt();
        EXPECT_EQ(activeWindow(client.connection()), document);
        EXPECT_EQ(inputFocus(client.connection()), document);
    }
}

TEST_F(QtPanelsTest, APanelThatTakesTheFocusGetsTheKeysByVirtualKeyCode) {
    xcb_window_t document = open(Rect(100, 100, 500, 400));
    activate(document);
    // Like the overlay a region is selected in: above everything, taking clicks and keys.
    PanelSpec description = at(PanelLevel::screenSaver);
    description.passesClicks = false;
    description.takesFocus = true;
    auto panel = make(description);
    ASSERT_NE(panel, nullptr);
    std::vector<std::uint16_t> keys;
    panel->setKeyHandler([&](std::uint16_t code) {
        keys.push_back(code);
        return true;
    });
    panel->setFrame(Rect(0, 0, 1280, 800), false);
    panel->makeKeyAndOrderFront();
    ASSERT_TRUE(spinUntil([&] { return inputFocus(client.connection()) == panel->window(); }));
    ASSERT_TRUE(xdotool("key s Escape"));
    // S and Escape by position: 0x01 and 0x35.
    EXPECT_TRUE(spinUntil([&] { return keys.size() == 2; }));
    EXPECT_EQ(keys, (std::vector<std::uint16_t>{0x01, 0x35}));
}

TEST_F(QtPanelsTest, AManagedPanelStaysOffTheTaskbarAndPagerOnEveryDesktop) {
    PanelSpec description = at(PanelLevel::statusBar);
    description.passesClicks = false;
    auto panel = make(description);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->isManaged());
    panel->setFrame(Rect(200, 300, 300, 200), false);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "first shown" : "shown again after ordered out");
        panel->orderFrontRegardless();
        ASSERT_TRUE(shown(*panel));
        ASSERT_TRUE(managed(client.connection(), panel->window()));
        x11::Connection& x = client.connection();
        // The manager writes the marks it honours in its own time.
        auto marked = [&] {
            auto states = x.cardinals(panel->window(), x.atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
            auto has = [&](const char* state) {
                return std::find(states.begin(), states.end(), x.atom(state)) != states.end();
            };
            return has("_NET_WM_STATE_SKIP_TASKBAR") && has("_NET_WM_STATE_SKIP_PAGER") &&
                   has("_NET_WM_STATE_ABOVE") &&
                   x.cardinals(panel->window(), x.atom("_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL) ==
                       std::vector<std::uint32_t>{0xFFFFFFFF};
        };
        EXPECT_TRUE(spinUntil(marked));
        panel->orderOut();
        // Withdrawn: off the manager's list, which may clear the marks.
        ASSERT_TRUE(spinUntil([&] {
            auto clients = x.cardinals(x.root(), x.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
            return !viewable(x, panel->window()) &&
                   std::find(clients.begin(), clients.end(), panel->window()) == clients.end();
        }));
    }
}

TEST_F(QtPanelsTest, ClicksPassThroughOrReachTheHandlerAtBottomLeftContentPoints) {
    // The panel covers root (300, 400)-(500, 500); the click lands 50 right and 20 down from its
    // top-left corner.
    xcb_window_t below = open(Rect(250, 350, 400, 250));
    x11::Connection& x = client.connection();
    const std::uint32_t mask[] = {XCB_EVENT_MASK_BUTTON_PRESS};
    xcb_change_window_attributes(x.get(), below, XCB_CW_EVENT_MASK, mask);
    xcb_aux_sync(x.get());
    for (bool passes : {true, false}) {
        SCOPED_TRACE(passes ? "passing clicks" : "taking clicks");
        activate(below);
        PanelSpec description = at(PanelLevel::statusBar);
        description.passesClicks = passes;
        auto panel = make(description);
        ASSERT_NE(panel, nullptr);
        std::vector<std::pair<PanelMouseAction, Point>> seen;
        panel->setMouseHandler(
            [&](PanelMouseAction action, Point p) { seen.emplace_back(action, p); });
        panel->setFrame(Rect(300, 300, 200, 100), false);
        panel->orderFrontRegardless();
        ASSERT_TRUE(shown(*panel));
        if (panel->isManaged()) {
            ASSERT_TRUE(managed(x, panel->window()));
        }

        while (auto* pending = xcb_poll_for_event(x.get())) {
            std::free(pending);
        }
        ASSERT_TRUE(xdotool("mousemove 350 420 click 1"));
        bool pressedBelow = false;
        auto pressed = [&] {
            while (auto* event = xcb_poll_for_event(x.get())) {
                pressedBelow |= (event->response_type & 0x7f) == XCB_BUTTON_PRESS;
                std::free(event);
            }
            return pressedBelow;
        };
        if (passes) {
            EXPECT_TRUE(spinUntil(pressed));
            EXPECT_TRUE(seen.empty());
        } else {
            ASSERT_TRUE(spinUntil([&] { return seen.size() >= 2; }));
            EXPECT_EQ(seen.front().first, PanelMouseAction::down);
            EXPECT_EQ(seen.front().second, (Point{50, 80}));
            EXPECT_EQ(seen.back().first, PanelMouseAction::up);
            EXPECT_FALSE(pressed());
            // Even clicked, a panel that does not take the focus leaves it where it was.
            EXPECT_EQ(activeWindow(x), below);
        }
    }
}

TEST_F(QtPanelsTest, APanelStacksDirectlyAboveTheWindowItIsOrderedAbove) {
    xcb_window_t back = open(Rect(100, 100, 400, 300), "Back");
    xcb_window_t front = open(Rect(200, 150, 400, 300), "Front");
    ASSERT_TRUE(eventually(client.connection(), [&] { return height(back) < height(front); }));
    auto panel = make(at(PanelLevel::normal));
    ASSERT_NE(panel, nullptr);
    panel->setFrame(Rect(100, 400, 400, 300), false);
    for (xcb_window_t target : {back, front, back}) {
        ASSERT_TRUE(panel->orderAbove(target));
        ASSERT_TRUE(shown(*panel));
        EXPECT_EQ(height(panel->window()), height(target) + 1);
    }
    auto before = stack();
    xcb_window_t gone = xcb_generate_id(client.connection().get());
    EXPECT_FALSE(panel->orderAbove(gone));
    EXPECT_FALSE(panel->orderAbove(0));
    EXPECT_EQ(stack(), before);

    auto hidden = make(at(PanelLevel::normal));
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(hidden->orderAbove(gone));
    EXPECT_FALSE(hidden->isVisible());
}

TEST_F(QtPanelsTest, AnUnmanagedPanelGetsItsPlaceBackWhenAnotherWindowMovesOverIt) {
    xcb_window_t document = open(Rect(100, 100, 400, 300), "Document");
    auto guard = make(at(PanelLevel::screenSaver));
    auto notice = make(at(PanelLevel::statusBar));
    auto cover = make(at(PanelLevel::normal));
    ASSERT_TRUE(guard && notice && cover);
    for (auto* panel : {guard.get(), notice.get(), cover.get()}) {
        panel->setFrame(Rect(100, 400, 400, 300), false);
    }
    guard->orderFrontRegardless();
    notice->orderFrontRegardless();
    ASSERT_TRUE(cover->orderAbove(document));
    ASSERT_TRUE(shown(*guard) && shown(*notice) && shown(*cover));

    // A window opened later, and the covered one raised over its cover.
    xcb_window_t later = open(Rect(150, 150, 400, 300), "Later");
    ClientWindows(client.connection()).raise(document);
    auto inPlace = [&] {
        auto order = stack();
        auto top = static_cast<std::ptrdiff_t>(order.size()) - 1;
        return height(guard->window()) == top && height(notice->window()) == top - 1 &&
               height(cover->window()) == height(document) + 1 && height(document) > height(later);
    };
    EXPECT_TRUE(spinUntil(inPlace));
}

TEST_F(QtPanelsTest, APanelLeavesTheScreenWhenOrderedOutAndWhenDestroyed) {
    auto panel = make(at(PanelLevel::statusBar));
    ASSERT_NE(panel, nullptr);
    panel->setFrame(Rect(100, 100, 200, 100), false);
    panel->orderFrontRegardless();
    ASSERT_TRUE(shown(*panel));
    EXPECT_TRUE(panel->isVisible());

    panel->orderOut();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(spinUntil([&] { return !viewable(client.connection(), panel->window()); }));

    panel->orderFrontRegardless();
    ASSERT_TRUE(shown(*panel));
    xcb_window_t window = panel->window();
    panel.reset();
    EXPECT_TRUE(spinUntil([&] { return !viewable(client.connection(), window); }));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(spinUntil([&] { return !exists(client.connection(), window); }));
}

TEST_F(QtPanelsTest, AFadeCompletesOnceWhetherItRunsOutOrIsCutShort) {
    struct Case {
        const char* what;
        double seconds;
        // Cuts the fade short; a later fade it starts counts its completions in `later`.
        std::function<void(Panel&, int& later)> cut;
        double alpha;
        int later;
    };
    const Case cases[] = {
        {"running out", 0.02, nullptr, 0.0, 0},
        {"no time at all", 0, nullptr, 0.0, 0},
        {"stopped by setting the alpha", 600, [](Panel& p, int&) { p.setAlpha(0.3); }, 0.3, 0},
        {"replaced by another fade", 600,
         [](Panel& p, int& later) { p.animateAlpha(0.5, 0, [&later] { ++later; }); }, 0.5, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto panel = make(at(PanelLevel::statusBar));
        ASSERT_NE(panel, nullptr);
        int completions = 0;
        int later = 0;
        panel->animateAlpha(0.0, c.seconds, [&] { ++completions; });
        EXPECT_EQ(completions, 0) << "a completion runs on the loop, never inside the call";
        if (c.cut) {
            c.cut(*panel, later);
            EXPECT_EQ(completions, 0);
        }
        ASSERT_TRUE(spinUntil([&] { return completions > 0 && later == c.later; }));
        drainQt();
        EXPECT_EQ(completions, 1);
        EXPECT_EQ(later, c.later);
        EXPECT_DOUBLE_EQ(panel->alpha(), c.alpha);
    }
}

TEST_F(QtPanelsTest, AFadeCompletionWaitsForAHeldLoopAndDiesWithItsPanel) {
    auto panel = panels->makePanel(at(PanelLevel::statusBar));
    ASSERT_NE(panel, nullptr);
    int completions = 0;
    loop.hold();
    panel->animateAlpha(0.0, 0, [&] { ++completions; });
    drainQt();
    EXPECT_EQ(completions, 0);
    loop.release();
    EXPECT_TRUE(spinUntil([&] { return completions == 1; }));

    panel->animateAlpha(1.0, 600, [&] { ++completions; });
    panel.reset();
    int marker = 0;
    loop.post([&] { ++marker; });
    ASSERT_TRUE(spinUntil([&] { return marker == 1; }));
    drainQt();
    EXPECT_EQ(completions, 1);
}

TEST_F(QtPanelsTest, ANoticeIsARoundedPlateWithItsTextsWhereTheyWereLaidOut) {
    // Laid out as the program lays out a notice: centred texts measured in their styles.
    NoticeContent notice;
    notice.size = {280, 76};
    notice.cornerRadius = 14;
    Size title = metrics.fittingSize("Hidden", FontStyle::headline, 240);
    Size detail = metrics.fittingSize("Editor and 2 other windows", FontStyle::callout, 240);
    notice.title = {"Hidden", FontStyle::headline, false,
                    Rect((280 - title.width) / 2, 16, title.width, title.height)};
    notice.detail = {
        "Editor and 2 other windows", FontStyle::callout, true,
        Rect((280 - detail.width) / 2, 16 + title.height + 6, detail.width, detail.height)};
    PanelSpec description = at(PanelLevel::statusBar);
    description.opaque = false;
    auto panel = make(description);
    ASSERT_NE(panel, nullptr);
    panel->setContent(notice);
    panel->setFrame(Rect(500, 360, 280, 76), true);
    panel->orderFrontRegardless();
    ASSERT_TRUE(shown(*panel));

    QImage drawn;
    auto brightIn = [&](const Rect& r) {
        for (int y = int(r.minY()); y < int(r.maxY()); ++y) {
            for (int x = int(r.minX()); x < int(r.maxX()); ++x) {
                if (qGray(drawn.pixel(x, y)) > 200) {
                    return true;
                }
            }
        }
        return false;
    };
    ASSERT_TRUE(spinUntil([&] {
        drawn = QGuiApplication::primaryScreen()->grabWindow(panel->window()).toImage();
        return drawn.width() == 280 && brightIn(notice.title.frame);
    }));
    keepScreenshot("notice");
    keepScreenshot("notice-window", drawn);
    // The plate is dark and its corners rounded off; both texts are drawn, the detail dimmer.
    QColor plate = drawn.pixelColor(6, 38);
    EXPECT_LT(qGray(plate.rgb()), 60);
    EXPECT_GT(plate.alpha(), 150);
    EXPECT_LT(drawn.pixelColor(0, 0).alpha(), 60);
    int brightestDetail = 0;
    int brightestTitle = 0;
    for (const auto& [frame, brightest] : {std::pair{notice.title.frame, &brightestTitle},
                                           std::pair{notice.detail.frame, &brightestDetail}}) {
        for (int y = int(frame.minY()); y < int(frame.maxY()); ++y) {
            for (int x = int(frame.minX()); x < int(frame.maxX()); ++x) {
                *brightest = std::max(*brightest, qGray(drawn.pixel(x, y)));
            }
        }
    }
    EXPECT_GT(brightestDetail, 120);
    EXPECT_LT(brightestDetail, brightestTitle);
}

}  // namespace
}  // namespace nimbrel::test
