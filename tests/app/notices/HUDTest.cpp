#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/notices/HUD.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimPanels.h"
#include "platform/sim/SimTextMetrics.h"

namespace nimbrel {
namespace {

using sim::SimPanelState;

// Two screens side by side, in accessibility space: the primary 1440 × 900 and a taller one to its
// right. Visible frames lose 25 points at the top for the menu bar.
class HUDTest : public testing::Test {
  protected:
    HUDTest() {
        desktop.addScreen("main", {0, 0, 1440, 900});
        desktop.addScreen("side", {1440, 0, 1920, 1080});
        desktop.moveMouse({100, 100});
    }

    double primaryHeight() const {
        const auto& screens = desktop.screenList();
        return screens.empty() ? 0 : screens.front().frame.height;
    }
    std::string uuidOf(const std::string& name) const { return desktop.screenState(name)->uuid; }
    std::optional<SimPanelState> notice() const { return panels.firstVisible(PanelKind::hud); }
    // Where the notice sits on a visible frame (screen space) for a plate of that size.
    static Rect expectedFrame(const Rect& visible, Size size) {
        return {visible.midX() - size.width * 0.5, visible.minY() + visible.height * 0.2,
                size.width, size.height};
    }
    Rect visibleFrameOf(const std::string& uuid) {
        for (const auto& screen : desktop.screens().screens()) {
            if (screen.uuid == uuid) {
                return screen.visibleFrame;
            }
        }
        ADD_FAILURE() << "no screen " << uuid;
        return {};
    }
    const NoticeContent& contentOf(const SimPanelState& panel) const {
        return std::get<NoticeContent>(panel.content);
    }
    void advanceTo(double time) { desktop.advanceTime(time - desktop.loop().now()); }

    sim::SimDesktop desktop;
    sim::SimPanels panels{desktop.loop(), desktop.events(), [this] { return primaryHeight(); }};
    sim::SimTextMetrics metrics;
    ScreenChoice choice;
    HUD hud{panels, metrics, desktop.screens(), desktop.loop(), [this] { return choice; }};
};

TEST_F(HUDTest, ShowsForItsTimeThenFadesAndIsOrderedOut) {
    hud.show("Focus mode on", "Every other window is hidden.");
    ASSERT_TRUE(notice());
    EXPECT_EQ(notice()->alpha, 1);
    EXPECT_EQ(desktop.events().lines().back(),
              "notice Focus mode on | Every other window is hidden.");

    advanceTo(1.75);
    ASSERT_TRUE(notice());
    EXPECT_EQ(notice()->alpha, 1);
    advanceTo(1.95);  // half-way through the 0.3-second fade
    ASSERT_TRUE(notice());
    EXPECT_NEAR(notice()->alpha, 0.5, 1e-9);
    advanceTo(2.15);
    EXPECT_FALSE(notice());
}

TEST_F(HUDTest, SecondNoticeOneSecondLaterReplacesTheFirstAndStaysItsFullTime) {
    hud.show("First", "one");
    advanceTo(1.0);
    hud.show("Second", "two");

    ASSERT_TRUE(notice());
    EXPECT_EQ(contentOf(*notice()).title.text, "Second");
    EXPECT_EQ(panels.panelCount(), 1u) << "the panel is made once and reused";
    advanceTo(2.5);  // the first notice would be gone by now
    ASSERT_TRUE(notice());
    EXPECT_EQ(notice()->alpha, 1);
    advanceTo(2.75);
    ASSERT_TRUE(notice());
    EXPECT_EQ(notice()->alpha, 1);
    advanceTo(2.95);
    ASSERT_TRUE(notice());
    EXPECT_LT(notice()->alpha, 1);
    advanceTo(3.15);
    EXPECT_FALSE(notice());
}

// The end of a fade orders the panel out; a notice that came in during that fade must not go
// with it.
TEST_F(HUDTest, NoticeShownDuringTheFadeRestoresOpacityAndKeepsItsFullTime) {
    hud.show("First", "one");
    advanceTo(1.9);
    ASSERT_LT(notice()->alpha, 1);
    hud.show("Second", "two");
    EXPECT_EQ(notice()->alpha, 1);

    advanceTo(2.3);  // past the end of the first fade
    ASSERT_TRUE(notice());
    EXPECT_EQ(notice()->alpha, 1);
    EXPECT_EQ(contentOf(*notice()).title.text, "Second");
    advanceTo(3.65);
    ASSERT_TRUE(notice());
    EXPECT_EQ(notice()->alpha, 1);
    advanceTo(4.05);
    EXPECT_FALSE(notice());
}

TEST_F(HUDTest, SitsAFifthUpTheVisibleFrameHorizontallyCentred) {
    hud.show("Saved “Bank”", "Hold ⌃⌘R to cover these regions again.");
    ASSERT_TRUE(notice());
    Size size = contentOf(*notice()).size;
    // The pointer is on the primary screen: visible frame 0,0,1440,875 in screen space.
    EXPECT_EQ(notice()->frame, expectedFrame({0, 0, 1440, 875}, size));
    EXPECT_EQ(panels.accessibilityFrame(*notice()),
              Rect(720 - size.width * 0.5, 900 - 175 - size.height, size.width, size.height));
}

TEST_F(HUDTest, ReadsTheChoiceAnewForEveryNotice) {
    hud.show("First", "");
    choice = ScreenChoice::display(uuidOf("side"));
    hud.show("Second", "");
    Size size = contentOf(*notice()).size;
    EXPECT_EQ(notice()->frame, expectedFrame(visibleFrameOf(uuidOf("side")), size));
}

struct ScreenCase {
    const char* name;
    std::string choice;    // the identifier as the settings keep it; "@side" names that screen
    Point pointer;         // accessibility space
    const char* expected;  // the screen the notice lands on
};

class HUDScreenTest : public HUDTest, public testing::WithParamInterface<ScreenCase> {};

TEST_P(HUDScreenTest, FallsBackFromTheChoiceToThePointerToTheMainScreen) {
    const ScreenCase& c = GetParam();
    choice = ScreenChoice::fromIdentifier(c.choice == "@side" ? uuidOf("side") : c.choice);
    desktop.moveMouse(c.pointer);
    hud.show("Focus mode off", "The hidden windows are back.");
    ASSERT_TRUE(notice());
    Size size = contentOf(*notice()).size;
    EXPECT_EQ(notice()->frame, expectedFrame(visibleFrameOf(uuidOf(c.expected)), size));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, HUDScreenTest,
    testing::Values(
        ScreenCase{"connectedDisplay", "@side", {100, 100}, "side"},
        ScreenCase{"disconnectedDisplayGoesUnderThePointer", "0F3C-GONE", {2000, 500}, "side"},
        ScreenCase{
            "disconnectedDisplayPointerOffScreensGoesToMain", "0F3C-GONE", {5000, -400}, "main"},
        ScreenCase{"originalGoesUnderThePointer", "", {2000, 500}, "side"},
        ScreenCase{"mouseFollowsThePointer", "mouse", {2000, 500}, "side"},
        ScreenCase{"mousePointerOffScreensGoesToMain", "mouse", {-300, 50}, "main"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HUDTest, WithoutScreensTheNoticeGoesToAnEmptyRectangle) {
    desktop.removeScreen("main");
    desktop.removeScreen("side");
    hud.show("Focus mode on", "");
    ASSERT_TRUE(notice());
    Size size = contentOf(*notice()).size;
    EXPECT_EQ(notice()->frame, Rect(-size.width * 0.5, 0, size.width, size.height));
}

TEST_F(HUDTest, NoticePanelNeverTakesFocusOrClicks) {
    PanelSpec description = HUD::panelSpec();
    EXPECT_EQ(description.kind, PanelKind::hud);
    EXPECT_EQ(description.level, PanelLevel::statusBar);
    EXPECT_TRUE(description.passesClicks);
    EXPECT_FALSE(description.takesFocus);
    EXPECT_TRUE(description.onEveryWorkspace);
    EXPECT_FALSE(description.opaque);
    EXPECT_TRUE(description.hasShadow);
}

TEST_F(HUDTest, AClickWhereTheNoticeIsReachesTheWindowBelow) {
    desktop.setPointerInterceptor([this](sim::SimPointerAction action, Point p) {
        auto mapped = action == sim::SimPointerAction::down   ? PanelMouseAction::down
                      : action == sim::SimPointerAction::drag ? PanelMouseAction::drag
                                                              : PanelMouseAction::up;
        return panels.pointerEvent(mapped, p);
    });
    ASSERT_TRUE(desktop.launchApp(1001, "Bank"));
    ASSERT_TRUE(desktop.launchApp(1002, "Notes"));
    ElementRef below;
    ASSERT_TRUE(desktop.openWindow(1001, {"Accounts", {300, 500, 840, 360}}, &below));
    ASSERT_TRUE(desktop.openWindow(1002, {"Notes", {0, 30, 200, 200}}));
    ASSERT_TRUE(desktop.activateApp(1002));

    hud.show("Window designated", "“Bank — Accounts” is designated.");
    Rect at = panels.accessibilityFrame(*notice());
    Point centre{at.midX(), at.midY()};
    ASSERT_TRUE(panels.panelAt(centre)) << "the notice is where the click lands";
    desktop.mouseDown(centre);
    desktop.mouseUp(centre);
    desktop.runDue();

    EXPECT_EQ(desktop.frontmostApp(), desktop.appState(1001)->ref);
    EXPECT_TRUE(desktop.isFocused(below));
    EXPECT_FALSE(panels.keyPanel());
}

struct SizeCase {
    const char* name;
    std::string title;
    std::string detail;
    double width;
    double height;
};

class HUDSizeTest : public HUDTest, public testing::WithParamInterface<SizeCase> {};

// Headline characters are 8 × 17 points in the simulated metrics, callout ones 7 × 16; the
// plate adds 24 points on each side and 16 above and below, and 6 between the lines.
TEST_P(HUDSizeTest, PlateStaysWithinItsLimits) {
    const SizeCase& c = GetParam();
    hud.show(c.title, c.detail);
    auto shown = notice();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->frame.size(), (Size{c.width, c.height}));
    const NoticeContent& content = contentOf(*shown);
    EXPECT_LE(content.detail.frame.maxX(), c.width - 24);
    EXPECT_GE(content.detail.frame.minX(), 24);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, HUDSizeTest,
    testing::Values(
        SizeCase{"shortIsAtLeast260", "Off", "Back.", 260, 16 + 17 + 6 + 16 + 16},
        // 40 characters of callout are 280 points: the plate fits them exactly.
        SizeCase{"midSizedFitsItsText", "Designation removed",
                 "Safari — Online banking, current account", 280 + 48, 71},
        // One unbroken 200-character word wraps at 53 characters (371 of the 372 points inside
        // the widest plate): four lines instead of a 1448-point plate.
        SizeCase{"longDetailWrapsWithin420", "Not found: 3", std::string(200, 'x'), 371 + 48,
                 16 + 17 + 6 + 4 * 16 + 16},
        SizeCase{"longWordsWrapAtSpaces", "Regions covered: 2",
                 "Hold the region-cover shortcut to cover these regions again, or apply the saved "
                 "cover from the menu whenever you need it.",
                 420 - 1, 16 + 17 + 6 + 3 * 16 + 16},
        SizeCase{"emptyDetailTakesNoLine", "Focus mode on", "", 260, 16 + 17 + 16}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HUDTest, ShowsNothingWhenNoPanelCanBeMadeAndTriesAgainNextTime) {
    panels.setRefusesPanels(true);
    hud.show("First", "one");
    EXPECT_FALSE(notice());
    EXPECT_TRUE(desktop.events().lines().empty());
    desktop.advanceTime(5);

    panels.setRefusesPanels(false);
    hud.show("Second", "two");
    ASSERT_TRUE(notice());
    EXPECT_EQ(contentOf(*notice()).title.text, "Second");
}

TEST_F(HUDTest, PendingFadeOfAHUDThatIsGoneDoesNothing) {
    {
        HUD shortLived(panels, metrics, desktop.screens(), desktop.loop(),
                       [] { return ScreenChoice::original(); });
        shortLived.show("Gone", "soon");
        desktop.advanceTime(1.9);  // in the middle of its fade
        EXPECT_EQ(panels.panelCount(), 1u);
    }
    EXPECT_EQ(panels.panelCount(), 0u) << "the panel goes with its owner";
    desktop.advanceTime(5);
    EXPECT_FALSE(desktop.loop().hasPendingWork());
}

}  // namespace
}  // namespace nimbrel
