#include <algorithm>
#include <functional>
#include <ostream>

#include "EngineFixture.h"

namespace nimbrel {
namespace {

using Summon = WindowMinimizer::Summon;

struct SummonCase {
    const char* name;
    bool fromFocusChange;
    bool hasOtherWindow;
    double clickAgo;
    std::optional<double> keyAgo;
    std::optional<double> hideAgo;  // none: nothing was ever hidden
    Summon expected;
};

void PrintTo(const SummonCase& c, std::ostream* os) {
    *os << c.name;
}

class SummonDecision : public EngineFixture, public testing::WithParamInterface<SummonCase> {};

TEST_P(SummonDecision, TellsTheUsersRequestFromAnActivationThatHappened) {
    const SummonCase& c = GetParam();
    ElementRef window = open(kNotes, "Bank");
    engine();
    // Play the hide, the click and the key press in the order they happened, up to now = 100 later.
    struct Event {
        double ago;
        std::function<void()> happen;
    };
    std::vector<Event> events{{c.clickAgo, [&] { desk_.recordClick(); }}};
    if (c.keyAgo) {
        events.push_back({*c.keyAgo, [&] { desk_.recordKeyPress(); }});
    }
    if (c.hideAgo) {
        events.push_back(
            {*c.hideAgo, [&] {
                 ASSERT_TRUE(engine().hide(ref(window), Guard::unlocked, HideStyle::outOfSight));
             }});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.ago > b.ago; });
    const double horizon = 100;
    double at = 0;
    for (const auto& event : events) {
        desk_.advanceTime(horizon - event.ago - at);
        at = horizon - event.ago;
        event.happen();
    }
    desk_.advanceTime(horizon - at);

    EXPECT_EQ(
        engine().summon(c.fromFocusChange ? SummonCause::focusChange : SummonCause::activation,
                        c.hasOtherWindow),
        c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SummonDecision,
    testing::Values(
        SummonCase{"focusWithoutInput", true, false, 5, std::nullopt, 1, Summon::ignore},
        SummonCase{"activationWithoutInputMovesFocus", false, true, 5, std::nullopt, 1,
                   Summon::moveFocus},
        SummonCase{"activationWithoutInputAlone", false, false, 5, std::nullopt, 1, Summon::ignore},
        SummonCase{"focusClickAfterHide", true, false, 1, std::nullopt, 1.5, Summon::reveal},
        SummonCase{"focusClickBeforeHide", true, false, 1.5, std::nullopt, 1, Summon::ignore},
        SummonCase{"activationClickWithOtherWindow", false, true, 1, std::nullopt, 1.5,
                   Summon::moveFocus},
        SummonCase{"activationClickAloneAfterHide", false, false, 1, std::nullopt, 1.5,
                   Summon::reveal},
        SummonCase{"activationClickAloneBeforeHide", false, false, 1.5, std::nullopt, 1,
                   Summon::ignore},
        SummonCase{"clickTwoSecondsAgoIsFresh", true, false, 2, std::nullopt, 3, Summon::reveal},
        SummonCase{"clickLongerAgoIsStale", true, false, 2.5, std::nullopt, 3, Summon::ignore},
        SummonCase{"neverHidden", true, false, 1, std::nullopt, std::nullopt, Summon::reveal},
        SummonCase{"keyPressIsNoClick", true, false, 5, 0.5, 1, Summon::ignore}),
    [](const auto& info) { return std::string(info.param.name); });

enum class Outcome { revealed, focusMoved, unchanged };

struct ActivationCase {
    const char* name;
    bool click;
    bool otherWindow;
    bool otherMinimized;
    Outcome expected;
};

void PrintTo(const ActivationCase& c, std::ostream* os) {
    *os << c.name;
}

// Notes has a parked window that still holds its application's focus; Mail is frontmost until
// the user (or the system) activates Notes.
class ParkedWindowActivation : public EngineFixture,
                               public testing::WithParamInterface<ActivationCase> {
  protected:
    void SetUp() override {
        const ActivationCase& c = GetParam();
        open(kMail, "Inbox", {700, 100, 600, 400});
        if (c.otherWindow) {
            other_ = open(kNotes, "Groceries", {500, 200, 400, 300});
            if (c.otherMinimized) {
                desk_.minimizeWindow(other_);
            }
        }
        parked_ = open(kNotes, "Bank");
        desk_.activateApp(kMail);
        desk_.runDue();
        callbacks_.instantHide = [] { return true; };
        ASSERT_TRUE(engine().hide(ref(parked_), Guard::unlocked, HideStyle::outOfSight));
        desk_.runDue();
        ASSERT_TRUE(desk_.isFocused(parked_));
        desk_.advanceTime(1);
    }

    ElementRef parked_;
    ElementRef other_;
};

TEST_P(ParkedWindowActivation, MovesFocusRevealsOrLeavesIt) {
    const ActivationCase& c = GetParam();
    if (c.click) {
        desk_.recordClick();
    }
    desk_.advanceTime(0.5);
    desk_.activateApp(kNotes);
    desk_.runDue();

    switch (c.expected) {
        case Outcome::revealed:
            EXPECT_EQ(origin(parked_), (Point{100, 100}));
            EXPECT_TRUE(engine().hidden().minimized().empty());
            break;
        case Outcome::focusMoved:
            EXPECT_EQ(origin(parked_), parkingPoint());
            EXPECT_TRUE(desk_.isFocused(other_));
            break;
        case Outcome::unchanged:
            EXPECT_EQ(origin(parked_), parkingPoint());
            EXPECT_TRUE(desk_.isFocused(parked_));
            EXPECT_EQ(engine().hidden().minimized().size(), 1u);
            break;
    }
    EXPECT_FALSE(appHidden(kNotes));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParkedWindowActivation,
    testing::Values(
        ActivationCase{"clickAlone", true, false, false, Outcome::revealed},
        ActivationCase{"clickWithOtherWindow", true, true, false, Outcome::focusMoved},
        ActivationCase{"noInputWithOtherWindow", false, true, false, Outcome::focusMoved},
        ActivationCase{"noInputAlone", false, false, false, Outcome::unchanged},
        ActivationCase{"minimizedOtherWindowDoesNotCount", true, true, true, Outcome::revealed}),
    [](const auto& info) { return std::string(info.param.name); });

// The parked window is picked from the application's window list while the application is
// already frontmost: only its focus changes.
class ParkedWindowFocus : public EngineFixture {
  protected:
    void SetUp() override {
        other_ = open(kNotes, "Groceries", {500, 200, 400, 300});
        parked_ = open(kNotes, "Bank");
        desk_.activateApp(kNotes);
        desk_.runDue();
        callbacks_.instantHide = [] { return true; };
        ASSERT_TRUE(engine().hide(ref(parked_), Guard::unlocked, HideStyle::outOfSight));
        desk_.runDue();
        ASSERT_TRUE(desk_.isFocused(other_)) << "parking hands the focus to the other window";
        ASSERT_TRUE(desk_.isObserved(desk_.accessibility().applicationElement(kNotes),
                                     "AXFocusedWindowChanged"));
        desk_.advanceTime(1);
    }

    ElementRef parked_;
    ElementRef other_;
};

TEST_F(ParkedWindowFocus, ClickedIntoFocusItComesBack) {
    desk_.recordClick();
    desk_.focusWindow(parked_);
    desk_.runDue();
    EXPECT_EQ(origin(parked_), (Point{100, 100}));
    EXPECT_TRUE(engine().hidden().minimized().empty());
}

TEST_F(ParkedWindowFocus, FocusHandedOverWithoutInputChangesNothing) {
    desk_.advanceTime(5);
    desk_.focusWindow(parked_);
    desk_.runDue();
    EXPECT_EQ(origin(parked_), parkingPoint());
    EXPECT_EQ(engine().hidden().minimized().size(), 1u);
}

// A locked window never comes back through the summon: it asks to be unlocked when the user has
// just clicked or typed, and in every case the keyboard focus leaves it.
struct LockedFocusCase {
    const char* name;
    void (*input)(sim::SimDesktop&);
    int prompts;
};

class LockedWindowFocus : public ParkedWindowFocus,
                          public testing::WithParamInterface<LockedFocusCase> {};

TEST_P(LockedWindowFocus, AsksOnlyAfterInputAndNeverKeepsTheFocus) {
    ElementRef locked = open(kNotes, "Diary", {300, 300, 400, 300});
    lock(locked);
    desk_.advanceTime(3);
    GetParam().input(desk_);
    desk_.focusWindow(locked);
    desk_.runDue();
    EXPECT_EQ(prompts_, GetParam().prompts);
    EXPECT_TRUE(engine().isLocked(locked));
    EXPECT_EQ(origin(locked), parkingPoint());
    EXPECT_TRUE(desk_.isFocused(other_));
    if (prompts_ > 0) {
        answer(false);
        EXPECT_TRUE(engine().isLocked(locked));
        EXPECT_FALSE(desk_.isFocused(locked));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Input, LockedWindowFocus,
    testing::Values(LockedFocusCase{"click", [](sim::SimDesktop& d) { d.recordClick(); }, 1},
                    LockedFocusCase{"keyPress", [](sim::SimDesktop& d) { d.recordKeyPress(); }, 1},
                    LockedFocusCase{"none", [](sim::SimDesktop&) {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimbrel
