#include "platform/x11/MonitorLayout.h"

#include <gtest/gtest.h>

namespace nimbrel::test {
namespace {

using x11::Monitor;
using x11::MonitorLayout;
using x11::Strut;

// A main monitor of 1440x900 with a smaller one to its right, top edges level; the root window
// is their bounding box.
MonitorLayout sideBySide(bool sideIsPrimary = false) {
    return MonitorLayout({{Rect(1440, 0, 1280, 800), "side", 2, sideIsPrimary},
                          {Rect(0, 0, 1440, 900), "main", 1, false}},
                         Size{2720, 900});
}

Strut strut(std::vector<std::uint32_t> items) {
    return *Strut::fromCardinals(items);
}

TEST(MonitorLayoutTest, ThePrimaryMonitorComesFirstAndAnchorsBothSpaces) {
    // Without a primary flag, the monitor at the root's origin stands in.
    auto layout = sideBySide();
    ASSERT_EQ(layout.monitors().size(), 2u);
    EXPECT_EQ(layout.monitors().front().name, "main");
    EXPECT_EQ(layout.toScreenSpace(Rect(0, 0, 1440, 900)), Rect(0, 0, 1440, 900));
    // The side monitor's top edge is level with the main one's: in screen space its bottom
    // sits 100 points up.
    EXPECT_EQ(layout.toScreenSpace(Rect(1440, 0, 1280, 800)), Rect(1440, 100, 1280, 800));

    auto flagged = sideBySide(true);
    EXPECT_EQ(flagged.monitors().front().name, "side");
    EXPECT_EQ(flagged.toAccessibility(Point{1440, 0}), (Point{0, 0}));
    EXPECT_EQ(flagged.fromAccessibility(Point{-1440, 0}), (Point{0, 0}));
    EXPECT_EQ(flagged.toScreenSpace(Rect(0, 0, 1440, 900)), Rect(-1440, -100, 1440, 900));
}

TEST(MonitorLayoutTest, ScreenSpaceLeadsBackToTheRootWindow) {
    // The side monitor as primary moves both spaces' origins off the root's.
    struct Case {
        const char* what;
        MonitorLayout layout;
        Rect screen;
        Rect root;
    };
    const Case cases[] = {
        {"a point-sized rectangle at the origin of one monitor",
         MonitorLayout({{Rect(0, 0, 1280, 800), "only", 1, true}}, Size{1280, 800}),
         Rect(0, 0, 1, 1), Rect(0, 799, 1, 1)},
        {"a notice on the main monitor, fractions kept", sideBySide(), Rect(620.5, 540.25, 200, 60),
         Rect(620.5, 299.75, 200, 60)},
        {"a rectangle on the side monitor", sideBySide(), Rect(1500, 100, 300, 800),
         Rect(1500, 0, 300, 800)},
        {"the main monitor seen from the side one", sideBySide(true), Rect(-1440, -100, 1440, 900),
         Rect(0, 0, 1440, 900)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.layout.fromScreenSpace(c.screen), c.root);
        EXPECT_EQ(c.layout.toScreenSpace(c.root), c.screen);
        EXPECT_EQ(c.layout.fromScreenSpace(c.screen.origin()), (Point{c.root.x, c.root.maxY()}));
    }
}

TEST(MonitorLayoutTest, DocksReserveSpaceOnlyOnTheMonitorsTheyTouch) {
    auto layout = sideBySide();
    const Monitor& main = layout.monitors()[0];
    const Monitor& side = layout.monitors()[1];
    struct Case {
        const char* what;
        std::vector<std::uint32_t> items;
        Rect main;
        Rect side;
    };
    const Case cases[] = {
        {"a bottom panel along the main monitor only",
         {0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 1439},
         Rect(0, 0, 1440, 876),
         Rect(1440, 0, 1280, 800)},
        {"a top bar across both",
         {0, 0, 30, 0, 0, 0, 0, 0, 0, 2719, 0, 0},
         Rect(0, 30, 1440, 870),
         Rect(1440, 30, 1280, 770)},
        {"a right dock on the side monitor, the old whole-edge form",
         {0, 64, 0, 0},
         Rect(0, 0, 1440, 900),
         Rect(1440, 0, 1216, 800)},
        {"a bottom strut of the root below the side monitor's bottom edge",
         {0, 0, 0, 50, 0, 0, 0, 0, 0, 0, 1440, 2719},
         Rect(0, 0, 1440, 900),
         Rect(1440, 0, 1280, 800)},
        {"a strut that claims the whole monitor is ignored",
         {0, 0, 900, 0, 0, 0, 0, 0, 0, 1439, 0, 0},
         Rect(0, 0, 1440, 900),
         Rect(1440, 0, 1280, 800)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Strut> struts{strut(c.items)};
        EXPECT_EQ(layout.visibleFrame(main, struts), c.main);
        EXPECT_EQ(layout.visibleFrame(side, struts), c.side);
    }
    EXPECT_FALSE(Strut::fromCardinals({1, 2, 3}));
}

}  // namespace
}  // namespace nimbrel::test

namespace nimbrel::test {
namespace {

TEST(MonitorLayoutTest, AWindowShowsOnAMonitorByMoreThanTheParkingCornersSliver) {
    auto layout = sideBySide();
    struct Case {
        Rect frame;
        bool shows;
    };
    const Case cases[] = {
        {Rect(100, 100, 400, 300), true},
        // Parked at the far corner of the bounding box: one pixel stays on the side monitor.
        {Rect(2719, 899, 400, 300), false},
        // In the gap below the smaller side monitor, inside the root window.
        {Rect(1500, 820, 200, 60), false},
        {Rect(2718, 798, 400, 300), true},
        {Rect(3000, 100, 400, 300), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(layout.showsOnAnyMonitor(c.frame), c.shows)
            << c.frame.x << "," << c.frame.y << " " << c.frame.width << "x" << c.frame.height;
    }
}

}  // namespace
}  // namespace nimbrel::test
