#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/SimPanels.h"

namespace nimbrel::sim {
namespace {

class SimPanelsTest : public testing::Test {
  protected:
    std::unique_ptr<Panel> make(PanelKind kind, PanelLevel level, bool passesClicks, Rect frame) {
        PanelSpec description;
        description.kind = kind;
        description.level = level;
        description.passesClicks = passesClicks;
        auto panel = panels.makePanel(description);
        panel->setFrame(frame, true);
        return panel;
    }

    SimMainLoop loop;
    SimEventLog events;
    double primaryHeight = 900;
    SimPanels panels{loop, events, [this] { return primaryHeight; }};
};

TEST_F(SimPanelsTest, ListsVisiblePanelsFrontToBackInAccessibilitySpace) {
    auto border = make(PanelKind::border, PanelLevel::normal, true, {100, 600, 400, 200});
    auto hud = make(PanelKind::hud, PanelLevel::statusBar, true, {590, 175, 260, 71});
    auto flash = make(PanelKind::flash, PanelLevel::screenSaver, true, {0, 0, 10, 10});
    hud->orderFrontRegardless();
    ASSERT_TRUE(border->orderAbove(104));
    hud->setAlpha(0.5);

    EXPECT_EQ(panels.describeVisible(),
              (std::vector<std::string>{"panel hud frame=590,654,260,71 level=25 alpha=0.5",
                                        "panel border frame=100,100,400,200 level=0 alpha=1 "
                                        "above=104"}))
        << "the flash panel was never ordered in";

    border->orderFrontRegardless();
    EXPECT_FALSE(panels.visiblePanels().back().above) << "ordering to the front ends 'above'";
    hud->orderOut();
    EXPECT_FALSE(panels.firstVisible(PanelKind::hud));
}

TEST_F(SimPanelsTest, OrderingAboveAMissingWindowFailsAndChangesNothing) {
    panels.setWindowLookup([](WindowNumber n) { return n == 104; });
    auto border = make(PanelKind::border, PanelLevel::normal, true, {0, 0, 50, 50});
    EXPECT_FALSE(border->orderAbove(0));
    EXPECT_FALSE(border->orderAbove(555));
    EXPECT_FALSE(border->isVisible());
    EXPECT_TRUE(border->orderAbove(104));
    EXPECT_EQ(panels.firstVisible(PanelKind::border)->above, 104u);
}

TEST_F(SimPanelsTest, PointerPassesThroughPanelsThatIgnoreItOrCannotBeSeen) {
    std::vector<std::string> got;
    auto cover = make(PanelKind::cover, PanelLevel::statusBar, false, {0, 0, 400, 400});
    cover->setMouseHandler([&](PanelMouseAction action, Point p) {
        got.push_back(std::to_string(int(action)) + "@" + std::to_string(int(p.x)) + "," +
                      std::to_string(int(p.y)));
    });
    auto hud = make(PanelKind::hud, PanelLevel::screenSaver, true, {0, 0, 400, 400});
    cover->orderFrontRegardless();
    hud->orderFrontRegardless();

    // Accessibility (50, 850) is screen (50, 50): under the notice, which lets it through.
    EXPECT_EQ(panels.panelAt({50, 850})->description.kind, PanelKind::hud);
    EXPECT_TRUE(panels.pointerEvent(PanelMouseAction::down, {50, 850}));
    // A drag leaving the cover still belongs to it until the release.
    EXPECT_TRUE(panels.pointerEvent(PanelMouseAction::drag, {600, 850}));
    EXPECT_TRUE(panels.pointerEvent(PanelMouseAction::up, {600, 850}));
    EXPECT_EQ(got, (std::vector<std::string>{"0@50,50", "1@600,50", "2@600,50"}));

    EXPECT_FALSE(panels.pointerEvent(PanelMouseAction::down, {500, 850})) << "outside every panel";
    EXPECT_FALSE(panels.pointerEvent(PanelMouseAction::up, {500, 850}));
    cover->setAlpha(0);
    EXPECT_FALSE(panels.pointerEvent(PanelMouseAction::down, {50, 850}))
        << "a transparent panel takes no clicks";
}

TEST_F(SimPanelsTest, AlphaAnimationMovesOnTheClockAndCompletesEvenWhenCutShort) {
    auto hud = make(PanelKind::hud, PanelLevel::statusBar, true, {0, 0, 100, 50});
    int completions = 0;
    hud->animateAlpha(0, 0.4, [&] { ++completions; });
    loop.advance(0.1);
    EXPECT_NEAR(hud->alpha(), 0.75, 1e-9);
    hud->setAlpha(1);  // cuts the animation short
    loop.advance(0.2);
    EXPECT_EQ(hud->alpha(), 1);
    EXPECT_EQ(completions, 0);
    loop.advance(0.2);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(hud->alpha(), 1) << "a cut-short animation does not jump to its target";

    hud->animateAlpha(0.2, 0.3, [&] { ++completions; });
    loop.advance(0.5);
    EXPECT_EQ(completions, 2);
    EXPECT_NEAR(hud->alpha(), 0.2, 1e-9);
}

TEST_F(SimPanelsTest, ShowingANoticeReportsItsTexts) {
    auto hud = make(PanelKind::hud, PanelLevel::statusBar, true, {0, 0, 260, 71});
    NoticeContent notice;
    notice.title.text = "Focus mode on";
    notice.detail.text = "Still visible: Mail";
    hud->setContent(notice);
    hud->orderFrontRegardless();
    auto cover = make(PanelKind::cover, PanelLevel::normal, false, {0, 0, 10, 10});
    cover->orderFrontRegardless();
    EXPECT_EQ(events.lines(),
              std::vector<std::string>{"notice Focus mode on | Still visible: Mail"});
}

TEST_F(SimPanelsTest, PanelsOfAnEndedProcessOrDesktopDoNothing) {
    auto hud = make(PanelKind::hud, PanelLevel::statusBar, true, {0, 0, 100, 50});
    bool completed = false;
    hud->orderFrontRegardless();
    hud->animateAlpha(0, 0.3, [&] { completed = true; });
    panels.discardAll();
    EXPECT_TRUE(panels.visiblePanels().empty());
    hud->orderFrontRegardless();
    EXPECT_FALSE(hud->isVisible());
    loop.advance(1);
    EXPECT_FALSE(completed);

    auto other = std::make_unique<SimPanels>(loop, events, [] { return 900.0; });
    auto orphan = other->makePanel({});
    other.reset();
    orphan->orderFrontRegardless();  // the desktop is gone: nothing happens, nothing crashes
    EXPECT_FALSE(orphan->isVisible());
}

TEST_F(SimPanelsTest, RefusesPanelsWhileTold) {
    panels.setRefusesPanels(true);
    EXPECT_EQ(panels.makePanel({}), nullptr);
    panels.setRefusesPanels(false);
    EXPECT_NE(panels.makePanel({}), nullptr);
}

TEST_F(SimPanelsTest, OnlyAPanelThatMayBecomeKeyTakesKeys) {
    PanelSpec description;
    description.kind = PanelKind::selection;
    description.takesFocus = true;
    auto selection = panels.makePanel(description);
    std::vector<std::uint16_t> keys;
    selection->setKeyHandler([&](std::uint16_t code) {
        keys.push_back(code);
        return code == 53;
    });
    auto hud = make(PanelKind::hud, PanelLevel::statusBar, true, {0, 0, 10, 10});
    hud->makeKeyAndOrderFront();
    EXPECT_FALSE(panels.keyPanel());
    selection->makeKeyAndOrderFront();
    EXPECT_TRUE(panels.keyDown(53));
    EXPECT_FALSE(panels.keyDown(0)) << "passed on";
    selection->orderOut();
    EXPECT_FALSE(panels.keyDown(53));
    EXPECT_EQ(keys, (std::vector<std::uint16_t>{53, 0}));
}

}  // namespace
}  // namespace nimbrel::sim
