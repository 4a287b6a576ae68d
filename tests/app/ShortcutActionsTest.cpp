#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ShellFixture.h"

namespace nimbrel {
namespace {

using test::ShellFixture;

// The hold duration in these tests.
constexpr double kHold = 0.6;

class ShortcutActionsTest : public ShellFixture {
  protected:
    ShortcutActionsTest() {
        store_->set(setting::holdDuration, kHold);
        shortcuts_->registerHotKeys();
    }
};

// A short press does the everyday action on release; a hold does the opposite one when the hold
// duration is up, and the release after it adds nothing. Before each press "Ideas" is hidden and
// "Draft" is bound and in front.
struct HoldCase {
    const char* name;
    std::uint32_t keyCode;
    double heldFor;
    bool draftHidden;
    bool ideasHidden;
};

void PrintTo(const HoldCase& c, std::ostream* os) {
    *os << c.name;
}

class HoldRules : public ShortcutActionsTest, public testing::WithParamInterface<HoldCase> {};

TEST_P(HoldRules, ShortPressActsOnReleaseAndAHoldDoesTheOpposite) {
    designate(draft_);
    ASSERT_TRUE(engine_->hide(ref(notes_), Guard::unlocked, HideStyle::outOfSight));
    desk_.focusWindow(draft_);
    desk_.runDue();

    press(GetParam().keyCode, GetParam().heldFor);
    desk_.advanceTime(kHold);  // nothing is left pending after the release
    EXPECT_EQ(isHidden(draft_), GetParam().draftHidden);
    EXPECT_EQ(isHidden(notes_), GetParam().ideasHidden);
}

INSTANTIATE_TEST_SUITE_P(
    Shortcuts, HoldRules,
    testing::Values(
        HoldCase{"focusedShortPressHidesTheFocusedWindow", ShellFixture::kKeyW, 0.3, true, true},
        HoldCase{"focusedHoldRevealsTheLastHidden", ShellFixture::kKeyW, 0.7, false, false},
        HoldCase{"allShortPressHidesTheBoundWindows", ShellFixture::kKeyE, 0.3, true, true},
        HoldCase{"allHoldRevealsEverythingHidden", ShellFixture::kKeyE, 0.7, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShortcutActionsTest, RegisteringAgainCancelsThePendingHold) {
    ASSERT_TRUE(engine_->hide(ref(notes_), Guard::unlocked, HideStyle::outOfSight));
    keyDown(kKeyW);
    // A shortcut changed while the keys are down: the hold must not fire, and the release that
    // follows finds no hold to turn into a short press.
    shortcuts_->registerHotKeys();
    desk_.advanceTime(kHold + 0.1);
    keyUp(kKeyW);
    EXPECT_TRUE(isHidden(notes_)) << "the hold revealed the last window";
    EXPECT_FALSE(isHidden(draft_)) << "the release hid the focused window";
}

TEST_F(ShortcutActionsTest, KeysThatArriveAfterTheActionsAreGoneDoNothing) {
    ASSERT_TRUE(engine_->hide(ref(notes_), Guard::unlocked, HideStyle::outOfSight));
    keyDown(kKeyW);
    // The hot-key center keeps its registrations; their actions must not reach the freed object.
    shortcuts_.reset();
    desk_.advanceTime(kHold + 0.1);
    keyUp(kKeyW);
    press(kKeyE, 0.1);
    EXPECT_TRUE(isHidden(notes_));
    EXPECT_FALSE(isHidden(draft_));
    EXPECT_EQ(count("beep"), 0);
}

TEST_F(ShortcutActionsTest, ABindingPressHidesWhatIsStillShownWithoutWaitingForTheRelease) {
    Uuid id = designate(draft_);
    store_->toggleWholeApp(id);
    store_->assign(KeyCombo{18, kCtrlCmd}, ShortcutTarget::window(id));
    shortcuts_->registerHotKeys();
    ASSERT_TRUE(engine_->hide(ref(notes_), Guard::unlocked, HideStyle::outOfSight));

    keyDown(18);
    EXPECT_TRUE(isHidden(draft_)) << "the shown window of the binding hides on the press";
    desk_.advanceTime(kHold + 0.1);
    EXPECT_TRUE(isHidden(notes_)) << "with a window still shown, the press arms no reveal";
    keyUp(18);

    // Everything hidden now: a short press reveals nothing, a hold reveals both.
    press(18, 0.3);
    desk_.advanceTime(kHold);
    EXPECT_TRUE(isHidden(draft_));
    press(18, kHold + 0.1);
    EXPECT_FALSE(isHidden(draft_));
    EXPECT_FALSE(isHidden(notes_));
}

// Toggling a designation as the shortcut (not the status menu's this-window item) or that item
// asks for it, on "Draft" bound in several ways.
enum class Bound { nothing, window, wholeApp, locked };

struct ToggleCase {
    const char* name;
    Bound bound;
    bool fromThisWindowItem;
    std::vector<bool> answers;  // of the authentication gate
    std::size_t bindingsAfter;
    std::vector<std::string> notices;
};

void PrintTo(const ToggleCase& c, std::ostream* os) {
    *os << c.name;
}

class ToggleDesignation : public ShortcutActionsTest,
                          public testing::WithParamInterface<ToggleCase> {};

TEST_P(ToggleDesignation, DesignatesRemovesOrExplains) {
    const ToggleCase& c = GetParam();
    if (c.bound != Bound::nothing) {
        Uuid id = designate(draft_);
        if (c.bound == Bound::wholeApp) {
            store_->toggleWholeApp(id);
        }
        if (c.bound == Bound::locked) {
            store_->setLocked(true, ShortcutTarget::window(id));
        }
    }
    desk_.events().clear();
    answers_.assign(c.answers.begin(), c.answers.end());

    shortcuts_->toggleDesignation(ref(draft_), c.fromThisWindowItem);
    desk_.runDue();
    EXPECT_EQ(store_->bindings().get().size(), c.bindingsAfter);
    EXPECT_EQ(notices(), c.notices);
    EXPECT_TRUE(answers_.empty()) << "the gate was asked fewer times than expected";
}

const std::string kDraftLabel = "{window.label.titled|Notes|Draft}";

INSTANTIATE_TEST_SUITE_P(
    Bindings, ToggleDesignation,
    testing::Values(ToggleCase{"unboundIsDesignated",
                               Bound::nothing,
                               false,
                               {},
                               1,
                               {"notice {hud.designated.title} | {hud.designated.detail|" +
                                kDraftLabel + "|{hud.designated.keys|⌃⌘E}}"}},
                    ToggleCase{"boundWindowIsReleased",
                               Bound::window,
                               false,
                               {},
                               0,
                               {"notice {hud.unassigned.title} | " + kDraftLabel}},
                    ToggleCase{"wholeAppFromTheShortcutStays",
                               Bound::wholeApp,
                               false,
                               {},
                               1,
                               {"notice {hud.wholeApp.title} | {hud.wholeApp.detail|Notes}"}},
                    ToggleCase{"wholeAppFromThisWindowItemIsReleased",
                               Bound::wholeApp,
                               true,
                               {},
                               0,
                               {"notice {hud.unassigned.title} | {window.label.wholeApp|Notes}"}},
                    ToggleCase{"lockedRefusedStaysSilently", Bound::locked, false, {false}, 1, {}},
                    ToggleCase{"lockedGrantedIsReleased",
                               Bound::locked,
                               false,
                               {true},
                               0,
                               {"notice {hud.unassigned.title} | " + kDraftLabel}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimbrel
