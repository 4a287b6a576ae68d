#include <string>
#include <vector>

#include "SimDesktopFixture.h"

namespace nimbrel::sim {
namespace {

using SimDesktopTest = SimDesktopFixture;

TEST_F(SimDesktopTest, ScreensAreReportedBottomLeftWithThePrimaryHeight) {
    auto screens = desktop.screens().screens();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].frame, Rect(0, 0, 1440, 900));
    EXPECT_EQ(screens[0].visibleFrame, Rect(0, 0, 1440, 875));  // 25 points off the top
    // Top edges level: the taller side screen reaches 180 points below the primary's bottom.
    EXPECT_EQ(screens[1].frame, Rect(1440, -180, 1920, 1080));
    EXPECT_EQ(screens[1].visibleFrame, Rect(1440, -180, 1920, 1055));
    EXPECT_EQ(screens[0].displayID, 1u);
    EXPECT_EQ(screens[1].displayID, 2u);
    EXPECT_NE(screens[0].uuid, screens[1].uuid);
    EXPECT_EQ(desktop.screens().mainScreen(), screens[0]);

    desktop.moveMouse({1500, 1000});
    EXPECT_EQ(desktop.screens().mouseLocation(), (Point{1500, -100}));
}

TEST_F(SimDesktopTest, ScreenKeepsItsIdentityWhenReconnected) {
    auto before = desktop.screens().screens()[1];
    int changes = 0;
    Subscription s =
        desktop.notifications().observe(SystemEvent::screenParametersChanged, [&] { ++changes; });
    ASSERT_TRUE(desktop.removeScreen("side").ok());
    ASSERT_TRUE(desktop.addScreen("side", {1440, 0, 1920, 1080}).ok());
    EXPECT_FALSE(desktop.addScreen("side", {0, 0, 10, 10}).ok());
    EXPECT_FALSE(desktop.removeScreen("nowhere").ok());
    desktop.runDue();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(desktop.screens().screens()[1], before);
}

TEST_F(SimDesktopTest, WithoutScreensNothingIsOnScreenAndThereIsNoMainScreen) {
    ASSERT_TRUE(desktop.removeScreen("main").ok());
    ASSERT_TRUE(desktop.removeScreen("side").ok());
    EXPECT_FALSE(desktop.screens().mainScreen().has_value());
    EXPECT_FALSE(desktop.isOnScreen(front));
    EXPECT_TRUE(desktop.windowList().onScreenWindows().empty());
}

struct OverlapCase {
    const char* name;
    Rect frame;
    bool onScreen;
};

class SimOnScreenRule : public SimDesktopFixture,
                        public testing::WithParamInterface<OverlapCase> {};

TEST_P(SimOnScreenRule, NeedsFortyByTwentyPointsOnOneScreen) {
    ASSERT_TRUE(desktop.moveWindow(front, GetParam().frame.origin()).ok());
    ASSERT_TRUE(desktop.resizeWindow(front, GetParam().frame.size()).ok());
    EXPECT_EQ(desktop.isOnScreen(front), GetParam().onScreen);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SimOnScreenRule,
    testing::Values(OverlapCase{"sliver39Wide", {3321, 100, 200, 100}, false},
                    OverlapCase{"exactly40x20", {3320, 1060, 200, 100}, true},
                    OverlapCase{"nineteenHigh", {100, 1061, 200, 100}, false},
                    OverlapCase{"parked", {3359, 1079, 800, 600}, false},
                    // Below the primary but beside the taller side screen's lower part.
                    OverlapCase{"belowPrimaryOnSide", {1400, 950, 300, 100}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimDesktopTest, WindowListShowsVisibleWindowsFrontToBack) {
    ASSERT_TRUE(desktop.launchApp(1002, "Mail").ok());
    ElementRef inbox;
    ASSERT_TRUE(
        desktop.openWindow(1002, {"Inbox", {0, 0, 300, 300}, "AXStandardWindow", 7}, &inbox).ok());
    auto numbers = [&] {
        std::vector<WindowNumber> result;
        for (const auto& info : desktop.windowList().onScreenWindows()) {
            result.push_back(info.number);
        }
        return result;
    };
    EXPECT_EQ(numbers(), (std::vector<WindowNumber>{7, 101, 100}));
    auto first = desktop.windowList().onScreenWindows().front();
    EXPECT_EQ(first.ownerPID, 1002);
    EXPECT_EQ(first.ownerName, "Mail");
    EXPECT_EQ(first.name, "Inbox");
    EXPECT_EQ(first.bounds, Rect(0, 0, 300, 300));

    ASSERT_TRUE(desktop.activateApp(1001).ok());  // Safari's windows come forward together
    EXPECT_EQ(numbers(), (std::vector<WindowNumber>{101, 100, 7}));
    ASSERT_TRUE(desktop.minimizeWindow(front).ok());
    ASSERT_TRUE(desktop.hideApp(1002).ok());
    EXPECT_EQ(numbers(), std::vector<WindowNumber>{100});
    // Parked one point inside the far corner: still on the window server's screen.
    ASSERT_TRUE(desktop.moveWindow(back, {3359, 1079}).ok());
    EXPECT_EQ(numbers(), std::vector<WindowNumber>{100});
    ASSERT_TRUE(desktop.moveWindow(back, {3360, 1080}).ok());
    EXPECT_TRUE(numbers().empty());
}

TEST_F(SimDesktopTest, WorkspaceTellsObserversThroughTheLoop) {
    std::vector<std::string> seen;
    Workspace& ws = desktop.workspace();
    Subscription a = ws.observe(WorkspaceAppEvent::didLaunch, [&](AppRef app) {
        seen.push_back("launch " + *ws.localizedName(app));
    });
    Subscription b = ws.observe(WorkspaceAppEvent::didActivate, [&](AppRef app) {
        seen.push_back("activate " + *ws.localizedName(app));
    });
    Subscription c = ws.observe(WorkspaceAppEvent::didTerminate, [&](AppRef app) {
        seen.push_back("terminate " + *ws.localizedName(app));
    });
    ASSERT_TRUE(desktop.launchApp(1002, "Mail", std::nullopt, ActivationPolicy::accessory).ok());
    ASSERT_TRUE(desktop.activateApp(1002).ok());
    ASSERT_TRUE(desktop.activateApp(1002).ok());  // already frontmost: nothing new
    EXPECT_TRUE(seen.empty());
    desktop.runDue();
    EXPECT_EQ(seen, (std::vector<std::string>{"launch Mail", "activate Mail"}));

    seen.clear();
    ASSERT_TRUE(desktop.quitApp(1002).ok());
    b.cancel();  // ends before its delivery
    desktop.runDue();
    EXPECT_EQ(seen, std::vector<std::string>{"terminate Mail"});
    EXPECT_FALSE(ws.frontmostApplication().has_value());
}

TEST_F(SimDesktopTest, HidingTheFrontmostApplicationActivatesThePreviousOne) {
    ASSERT_TRUE(desktop.launchApp(1002, "Mail").ok());
    ASSERT_TRUE(desktop.activateApp(1001).ok());
    ASSERT_TRUE(desktop.activateApp(1002).ok());
    ASSERT_TRUE(desktop.hideApp(1002).ok());
    EXPECT_EQ(desktop.frontmostApp(), desktop.appState(1001)->ref);
    EXPECT_TRUE(desktop.workspace().isHidden(desktop.appState(1002)->ref));
    // Activation unhides.
    ASSERT_TRUE(desktop.workspace().activate(desktop.appState(1002)->ref));
    EXPECT_FALSE(desktop.appState(1002)->hidden);
    EXPECT_EQ(desktop.frontmostApp(), desktop.appState(1002)->ref);
}

TEST_F(SimDesktopTest, RunningApplicationsIncludeTheProgramAsAnAccessory) {
    ASSERT_TRUE(desktop.programStarted().ok());
    Workspace& ws = desktop.workspace();
    auto running = ws.runningApplications();
    ASSERT_EQ(running.size(), 2u);
    EXPECT_EQ(ws.processID(running[1]), 1);
    EXPECT_EQ(ws.activationPolicy(running[1]), ActivationPolicy::accessory);
    EXPECT_EQ(desktop.application().activationPolicy(), ActivationPolicy::accessory);
    desktop.application().setActivationPolicy(ActivationPolicy::regular);
    EXPECT_EQ(ws.activationPolicy(running[1]), ActivationPolicy::regular);
    desktop.application().activateIgnoringOtherApps();
    EXPECT_EQ(ws.frontmostApplication(), running[1]);
    EXPECT_FALSE(desktop.quitApp(1).ok());

    std::vector<bool> replies;
    desktop.setTerminateReplyHandler([&](bool terminate) { replies.push_back(terminate); });
    desktop.application().replyToApplicationShouldTerminate(false);
    desktop.application().replyToApplicationShouldTerminate(true);
    EXPECT_EQ(replies, (std::vector<bool>{false, true}));
    EXPECT_EQ(desktop.events().lines(), (std::vector<std::string>{"quit cancelled", "quit done"}));
}

TEST_F(SimDesktopTest, InputTimesFollowTheVirtualClock) {
    EventSource& input = desktop.eventSource();
    desktop.advanceTime(10);
    EXPECT_DOUBLE_EQ(input.secondsSinceLastEvent(InputEventType::any), 10);
    desktop.recordKeyPress();
    desktop.advanceTime(3);
    desktop.mouseUp({5, 5});
    desktop.advanceTime(2);
    EXPECT_DOUBLE_EQ(input.secondsSinceLastEvent(InputEventType::keyDown), 5);
    EXPECT_DOUBLE_EQ(input.secondsSinceLastEvent(InputEventType::leftMouseUp), 2);
    EXPECT_DOUBLE_EQ(input.secondsSinceLastEvent(InputEventType::mouseMoved), 15);
    EXPECT_DOUBLE_EQ(input.secondsSinceLastEvent(InputEventType::any), 2);
}

TEST_F(SimDesktopTest, MouseMonitorGetsScreenSpaceLocations) {
    std::vector<Point> seen;
    Subscription s = desktop.eventSource().observeMouseMoved([&](Point p) { seen.push_back(p); });
    desktop.moveMouse({0, 0});
    desktop.moveMouse({1439, 899});
    desktop.runDue();
    EXPECT_EQ(seen, (std::vector<Point>{{0, 900}, {1439, 1}}));
}

TEST_F(SimDesktopTest, PressOnAWindowBringsItAndItsApplicationForward) {
    desktop.mouseDown({150, 120});  // only the back window is under this point
    EXPECT_EQ(desktop.frontmostApp(), desktop.appState(1001)->ref);
    EXPECT_TRUE(desktop.isFocused(back));
    EXPECT_EQ(desktop.windowStack().front(), back);
    // A panel of the program that takes the press keeps it from the window below.
    desktop.setPointerInterceptor([](SimPointerAction, Point) { return true; });
    desktop.mouseDown({300, 300});
    EXPECT_TRUE(desktop.isFocused(back));
}

TEST_F(SimDesktopTest, MinimisingOrClosingTheFocusedWindowMovesTheFocus) {
    ASSERT_TRUE(desktop.minimizeWindow(front).ok());
    EXPECT_TRUE(desktop.isFocused(back));
    ASSERT_TRUE(desktop.restoreWindow(front).ok());
    EXPECT_TRUE(desktop.isFocused(front));
    ASSERT_TRUE(desktop.closeWindow(front).ok());
    EXPECT_TRUE(desktop.isFocused(back));
    EXPECT_FALSE(desktop.closeWindow(front).ok());
}

TEST_F(SimDesktopTest, WindowNumbersCountFromAHundredAndSkipTakenOnes) {
    ElementRef taken;
    ElementRef next;
    ElementRef none;
    ASSERT_TRUE(desktop.openWindow(1001, {"A", {0, 0, 10, 10}, "AXDialog", 102}, &taken).ok());
    ASSERT_TRUE(desktop.openWindow(1001, {"B", {0, 0, 10, 10}}, &next).ok());
    ASSERT_TRUE(desktop.openWindow(1001, {"C", {0, 0, 10, 10}, "AXFloatingWindow", 0}, &none).ok());
    EXPECT_EQ(desktop.windowState(next)->number, 103u);
    WindowNumber n = 1;
    EXPECT_EQ(desktop.accessibility().windowNumber(none, n), AXError::success);
    EXPECT_EQ(n, 0u);
}

}  // namespace
}  // namespace nimbrel::sim
