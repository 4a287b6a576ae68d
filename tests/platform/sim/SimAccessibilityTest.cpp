#include <string>
#include <vector>

#include "SimDesktopFixture.h"

namespace nimbrel::sim {
namespace {

using SimAccessibilityTest = SimDesktopFixture;

TEST_F(SimAccessibilityTest, WindowsAreListedFrontToBackWithTheirAttributes) {
    EXPECT_EQ(std::get<std::vector<ElementRef>>(read(safari(), "AXWindows")),
              (std::vector<ElementRef>{front, back}));
    EXPECT_EQ(std::get<ElementRef>(read(safari(), "AXFocusedWindow")), front);
    EXPECT_EQ(std::get<std::string>(read(front, "AXTitle")), "Front");
    EXPECT_EQ(std::get<std::string>(read(front, "AXRole")), "AXWindow");
    EXPECT_EQ(std::get<std::string>(read(front, "AXSubrole")), "AXStandardWindow");
    EXPECT_EQ(std::get<Point>(read(front, "AXPosition")), (Point{200, 150}));
    EXPECT_EQ(std::get<Size>(read(front, "AXSize")), (Size{640, 480}));
    EXPECT_FALSE(std::get<bool>(read(front, "AXMinimized")));
    WindowNumber number = 0;
    ASSERT_EQ(ax().windowNumber(back, number), AXError::success);
    EXPECT_EQ(number, 100u);
    Pid pid = 0;
    ASSERT_EQ(ax().processID(front, pid), AXError::success);
    EXPECT_EQ(pid, 1001);
}

TEST_F(SimAccessibilityTest, ElementsKeepTheirIdentityAndAClosedWindowIsInvalid) {
    EXPECT_EQ(ax().applicationElement(1001), ax().applicationElement(1001));
    EXPECT_NE(ax().applicationElement(1001), ax().applicationElement(1002));
    EXPECT_NE(front, back);

    ASSERT_TRUE(desktop.closeWindow(front).ok());
    AXError error = AXError::success;
    read(front, "AXTitle", &error);
    EXPECT_EQ(error, AXError::invalidElement);
    EXPECT_EQ(std::get<std::vector<ElementRef>>(read(safari(), "AXWindows")),
              std::vector<ElementRef>{back});
    // The next window gets a fresh element, never the closed one's.
    ElementRef again;
    ASSERT_TRUE(desktop.openWindow(1001, {"Front", {200, 150, 640, 480}}, &again).ok());
    EXPECT_NE(again, front);
    EXPECT_NE(again, back);
}

TEST_F(SimAccessibilityTest, FocusedWindowIsAbsentWhenEveryWindowIsMinimised) {
    ASSERT_TRUE(desktop.minimizeWindow(front).ok());
    EXPECT_EQ(std::get<ElementRef>(read(safari(), "AXFocusedWindow")), back);
    ASSERT_TRUE(desktop.minimizeWindow(back).ok());
    AXError error = AXError::success;
    AXValue value = read(safari(), "AXFocusedWindow", &error);
    EXPECT_NE(error, AXError::success);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
}

TEST_F(SimAccessibilityTest, MainAndRaiseBringAWindowForwardWithTheFocus) {
    ASSERT_EQ(ax().setAttributeValue(back, "AXMain", true), AXError::success);
    EXPECT_EQ(std::get<ElementRef>(read(safari(), "AXFocusedWindow")), back);
    EXPECT_EQ(desktop.windowsOf(1001).front(), back);
    ASSERT_EQ(ax().performAction(front, "AXRaise"), AXError::success);
    EXPECT_EQ(desktop.windowsOf(1001).front(), front);
    EXPECT_TRUE(desktop.isFocused(front));
    EXPECT_EQ(ax().performAction(front, "AXPress"), AXError::actionUnsupported);
}

TEST_F(SimAccessibilityTest, FrontmostOnTheApplicationActivatesIt) {
    EXPECT_FALSE(desktop.frontmostApp().has_value());
    ASSERT_EQ(ax().setAttributeValue(safari(), "AXFrontmost", true), AXError::success);
    EXPECT_EQ(desktop.frontmostApp(), desktop.appState(1001)->ref);
    EXPECT_TRUE(std::get<bool>(read(safari(), "AXFrontmost")));
}

TEST_F(SimAccessibilityTest, PinnedWindowAcceptsPositionWritesAndStaysPut) {
    ASSERT_TRUE(desktop.pinWindow(front).ok());
    EXPECT_EQ(ax().setAttributeValue(front, "AXPosition", Point{3359, 1079}), AXError::success);
    EXPECT_EQ(desktop.windowState(front)->frame.origin(), (Point{200, 150}));
    // Minimising still works: only moving is refused.
    EXPECT_EQ(ax().setAttributeValue(front, "AXMinimized", true), AXError::success);
    EXPECT_TRUE(desktop.windowState(front)->minimized);
}

TEST_F(SimAccessibilityTest, WritesOfTheWrongTypeAreIllegal) {
    EXPECT_EQ(ax().setAttributeValue(front, "AXPosition", Size{1, 1}), AXError::illegalArgument);
    EXPECT_EQ(ax().setAttributeValue(front, "AXMinimized", std::string("yes")),
              AXError::illegalArgument);
    EXPECT_EQ(ax().setAttributeValue(front, "AXTitle", std::string("x")), AXError::illegalArgument);
    EXPECT_EQ(desktop.windowState(front)->frame.origin(), (Point{200, 150}));
}

// ---- Failure injection, one row per attribute ----

struct FailureCase {
    const char* name;
    const char* attribute;  // as `win fail` names it
    const char* axName;     // as the accessibility interface names it
    AXValue written;        // a valid write, or monostate when the attribute is read-only
};

class SimAttributeFailure : public SimDesktopFixture,
                            public testing::WithParamInterface<FailureCase> {};

TEST_P(SimAttributeFailure, ReadsAndWritesFailUntilHealed) {
    const FailureCase& c = GetParam();
    ASSERT_TRUE(desktop.failWindow(front, {c.attribute}).ok());
    auto call = [&] {
        if (std::string(c.attribute) == "number") {
            WindowNumber n = 0;
            return ax().windowNumber(front, n);
        }
        AXError e = AXError::success;
        read(front, c.axName, &e);
        return e;
    };
    EXPECT_EQ(call(), AXError::failure);
    if (!std::holds_alternative<std::monostate>(c.written)) {
        EXPECT_EQ(ax().setAttributeValue(front, c.axName, c.written), AXError::failure);
    }
    // Other attributes still answer.
    AXError other = AXError::failure;
    read(front, std::string(c.attribute) == "title" ? "AXRole" : "AXTitle", &other);
    EXPECT_EQ(other, AXError::success);

    ASSERT_TRUE(desktop.healWindow(front).ok());
    EXPECT_EQ(call(), AXError::success);
}

INSTANTIATE_TEST_SUITE_P(Attributes, SimAttributeFailure,
                         testing::Values(FailureCase{"position", "position", "AXPosition",
                                                     Point{1, 2}},
                                         FailureCase{"size", "size", "AXSize", Size{300, 200}},
                                         FailureCase{"minimized", "minimized", "AXMinimized", true},
                                         FailureCase{"title", "title", "AXTitle", {}},
                                         FailureCase{"subrole", "subrole", "AXSubrole", {}},
                                         FailureCase{"role", "role", "AXRole", {}},
                                         FailureCase{"number", "number", "", {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimAccessibilityTest, FailedWriteChangesNothing) {
    ASSERT_TRUE(desktop.failWindow(front, {"position", "minimized"}).ok());
    EXPECT_NE(ax().setAttributeValue(front, "AXPosition", Point{5, 5}), AXError::success);
    EXPECT_NE(ax().setAttributeValue(front, "AXMinimized", true), AXError::success);
    EXPECT_EQ(desktop.windowState(front)->frame.origin(), (Point{200, 150}));
    EXPECT_FALSE(desktop.windowState(front)->minimized);
    EXPECT_FALSE(desktop.failWindow(front, {"colour"}).ok());
}

// ---- Permission and hung applications ----

TEST_F(SimAccessibilityTest, WithoutThePermissionEveryCallIsRefused) {
    desktop.setTrusted(false);
    EXPECT_FALSE(ax().isProcessTrusted());
    AXError error = AXError::success;
    read(safari(), "AXWindows", &error);
    EXPECT_EQ(error, AXError::apiDisabled);
    EXPECT_EQ(ax().setAttributeValue(front, "AXPosition", Point{0, 0}), AXError::apiDisabled);
    EXPECT_EQ(ax().performAction(front, "AXRaise"), AXError::apiDisabled);
    WindowNumber n = 0;
    EXPECT_EQ(ax().windowNumber(front, n), AXError::apiDisabled);
    EXPECT_FALSE(ax().createObserver(1001, [](ElementRef, const std::string&) {}));

    EXPECT_FALSE(ax().requestTrust());
    EXPECT_EQ(desktop.events().lines(), std::vector<std::string>{"accessibility prompt"});
    desktop.setTrusted(true);
    EXPECT_TRUE(ax().requestTrust());
    EXPECT_EQ(desktop.events().lines().size(), 1u);  // no prompt once trusted
}

TEST_F(SimAccessibilityTest, HungApplicationCostsTheTimeoutOnEveryCall) {
    int timerRan = 0;
    desktop.loop().startTimer(0.5, false, [&] { ++timerRan; });
    ASSERT_TRUE(desktop.hangApp(1001).ok());
    AXError error = AXError::success;
    read(safari(), "AXWindows", &error);
    EXPECT_EQ(error, AXError::cannotComplete);
    EXPECT_DOUBLE_EQ(desktop.loop().now(), 1.0);
    EXPECT_EQ(ax().setAttributeValue(front, "AXPosition", Point{0, 0}), AXError::cannotComplete);
    EXPECT_DOUBLE_EQ(desktop.loop().now(), 2.0);
    // The clock moved inside blocking calls: nothing ran meanwhile.
    EXPECT_EQ(timerRan, 0);
    EXPECT_EQ(desktop.windowState(front)->frame.origin(), (Point{200, 150}));

    ASSERT_EQ(ax().setMessagingTimeout(ax().systemWideElement(), 0.25), AXError::success);
    WindowNumber n = 0;
    EXPECT_EQ(ax().windowNumber(front, n), AXError::cannotComplete);
    EXPECT_DOUBLE_EQ(desktop.loop().now(), 2.25);

    ASSERT_TRUE(desktop.answerApp(1001).ok());
    read(safari(), "AXWindows", &error);
    EXPECT_EQ(error, AXError::success);
    EXPECT_DOUBLE_EQ(desktop.loop().now(), 2.25);
    desktop.runDue();
    EXPECT_EQ(timerRan, 1);
}

TEST_F(SimAccessibilityTest, QuittingInvalidatesTheWindowsAndRelaunchIsANewInstance) {
    AppRef first = desktop.appState(1001)->ref;
    ASSERT_TRUE(desktop.quitApp(1001).ok());
    AXError error = AXError::success;
    read(front, "AXTitle", &error);
    EXPECT_EQ(error, AXError::invalidElement);
    read(safari(), "AXWindows", &error);
    EXPECT_EQ(error, AXError::invalidElement);
    Workspace& ws = desktop.workspace();
    EXPECT_TRUE(ws.isTerminated(first));
    EXPECT_EQ(ws.localizedName(first), "Safari");
    EXPECT_EQ(ws.processID(first), 1001);
    EXPECT_FALSE(ws.runningApplication(1001).has_value());

    ASSERT_TRUE(desktop.launchApp(1001, "Safari").ok());
    auto second = ws.runningApplication(1001);
    ASSERT_TRUE(second.has_value());
    EXPECT_NE(*second, first);
    EXPECT_TRUE(ws.isTerminated(first));
    EXPECT_FALSE(ws.isTerminated(*second));
    // Same pid, same application element; the old windows stay invalid.
    EXPECT_EQ(std::get<std::vector<ElementRef>>(read(safari(), "AXWindows")).size(), 0u);
    read(front, "AXTitle", &error);
    EXPECT_EQ(error, AXError::invalidElement);
}

}  // namespace
}  // namespace nimbrel::sim
