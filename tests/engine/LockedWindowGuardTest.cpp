#include <ostream>
#include "EngineFixture.h"

namespace nimbrel {
namespace {

// A locked Notes window parked beyond the screen, with Mail frontmost so that Notes stays shown.
class LockedWindowGuardTest : public EngineFixture {
  protected:
    void SetUp() override {
        open(kMail, "Inbox", {700, 100, 600, 400});
        secret_ = open(kNotes, "Bank");
        desk_.activateApp(kMail);
        desk_.runDue();
        lock(secret_);
    }

    // The user drags the locked window back into sight.
    void bringBack() {
        desk_.moveWindow(secret_, {200, 150});
        desk_.runDue();
    }

    ElementRef secret_;
};

TEST_F(LockedWindowGuardTest, WindowMovedBackIsParkedAgainAndThePromptOpensOnce) {
    EXPECT_TRUE(desk_.isObserved(secret_, "AXWindowMoved"));
    EXPECT_TRUE(desk_.isObserved(secret_, "AXWindowDeminiaturized"));
    bringBack();
    EXPECT_EQ(origin(secret_), parkingPoint());
    EXPECT_EQ(prompts_, 1);
    EXPECT_TRUE(engine().isAuthenticating());
    // The engine's own parking moved the window too; that is no new request and no decline.
    desk_.runDue();
    EXPECT_EQ(prompts_, 1);
    EXPECT_TRUE(engine().summons().declined().empty());

    answer(true);
    EXPECT_FALSE(engine().isLocked(secret_));
    EXPECT_EQ(origin(secret_), (Point{100, 100}));
    EXPECT_FALSE(desk_.isObserved(secret_, "AXWindowMoved"));
    // Unlocked, its moves are the user's business.
    desk_.moveWindow(secret_, {300, 300});
    desk_.runDue();
    EXPECT_EQ(origin(secret_), (Point{300, 300}));
    EXPECT_EQ(prompts_, 1);
}

TEST_F(LockedWindowGuardTest, WindowRestoredFromTheDockIsHiddenAgainAndAsksToUnlock) {
    // An application that ignores moves: the lock keeps its window minimised instead.
    ElementRef stuck = open(kNotes, "Diary", {400, 300, 500, 300});
    desk_.pinWindow(stuck);
    lock(stuck);
    ASSERT_TRUE(minimized(stuck));
    desk_.restoreWindow(stuck);
    desk_.runDue();
    EXPECT_TRUE(minimized(stuck));
    EXPECT_EQ(prompts_, 1);
}

TEST_F(LockedWindowGuardTest, OtherNotificationsOfTheWindowAreNotWatched) {
    desk_.setWindowTitle(secret_, "Bank 2");
    desk_.resizeWindow(secret_, {700, 500});
    desk_.focusWindow(secret_);
    desk_.runDue();
    EXPECT_EQ(prompts_, 0);
    EXPECT_EQ(origin(secret_), parkingPoint());
}

enum class Input { none, click, key };

struct DeclineCase {
    const char* name;
    Input input;
    double inputAfterDecline;  // may be negative: the input came before the decline
    double movedAfterDecline;
    bool promptsAgain;
};

void PrintTo(const DeclineCase& c, std::ostream* os) {
    *os << c.name;
}

class AfterDecline : public LockedWindowGuardTest,
                     public testing::WithParamInterface<DeclineCase> {};

TEST_P(AfterDecline, MovingAgainAsksOnlyWhenTheUserAskedAgain) {
    const DeclineCase& c = GetParam();
    auto giveInput = [&] {
        if (c.input == Input::click) {
            desk_.recordClick();
        } else if (c.input == Input::key) {
            desk_.recordKeyPress();
        }
    };
    bringBack();
    double elapsed = 0;
    if (c.inputAfterDecline < 0) {
        giveInput();
        desk_.advanceTime(-c.inputAfterDecline);
        answer(false);
    } else {
        answer(false);
        desk_.advanceTime(c.inputAfterDecline);
        elapsed = c.inputAfterDecline;
        giveInput();
    }
    ASSERT_EQ(engine().summons().declined().size(), 1u);
    desk_.advanceTime(c.movedAfterDecline - elapsed);
    bringBack();
    desk_.runDue();

    EXPECT_EQ(origin(secret_), parkingPoint());
    EXPECT_TRUE(engine().isLocked(secret_));
    if (c.promptsAgain) {
        EXPECT_EQ(prompts_, 2);
        EXPECT_FALSE(appHidden(kNotes));
        EXPECT_EQ(blockedAttempts(), 0u);
    } else {
        EXPECT_EQ(prompts_, 1);
        EXPECT_TRUE(appHidden(kNotes));
        ASSERT_EQ(attempts_.size(), 1u);
        EXPECT_EQ(attempts_[0].element, secret_);
        EXPECT_EQ(attempts_[0].reason, AttemptReason::blockedWithoutAuth);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, AfterDecline,
    testing::Values(DeclineCase{"noInput", Input::none, 0, 3, false},
                    DeclineCase{"clickAfterDecline", Input::click, 1, 1.5, true},
                    DeclineCase{"keyAfterDecline", Input::key, 1, 1.5, true},
                    DeclineCase{"staleClick", Input::click, 1, 4, false},
                    DeclineCase{"clickBeforeDecline", Input::click, -0.5, 0.5, false},
                    DeclineCase{"declineLongGone", Input::none, 0, 10.5, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LockedWindowGuardTest, ApplicationWithAnotherVisibleWindowIsNotHiddenButTheAttemptCounts) {
    open(kNotes, "Groceries", {500, 200, 400, 300});
    desk_.activateApp(kMail);
    desk_.runDue();
    bringBack();
    answer(false);
    desk_.advanceTime(3);
    bringBack();
    EXPECT_FALSE(appHidden(kNotes));
    EXPECT_EQ(blockedAttempts(), 1u);
    EXPECT_EQ(prompts_, 1);
}

TEST_F(LockedWindowGuardTest, SecondWindowBroughtBackWhileThePromptIsOpenIsNoDecline) {
    ElementRef other = open(kNotes, "Diary", {400, 300, 500, 300});
    desk_.activateApp(kMail);
    desk_.runDue();
    lock(other);
    bringBack();
    desk_.moveWindow(other, {250, 250});
    desk_.runDue();
    EXPECT_EQ(origin(other), parkingPoint());
    EXPECT_EQ(prompts_, 1);
    EXPECT_TRUE(engine().summons().declined().empty());
    answer(true);
    EXPECT_TRUE(engine().summons().declined().empty());
}

// Two screens side by side; the locked window is parked beyond the larger one.
class ScreenChangeTest : public EngineFixture {
  protected:
    void SetUp() override {
        desk_.addScreen("side", {1440, 0, 1920, 1080});
        desk_.runDue();
        open(kMail, "Inbox", {700, 100, 600, 400});
        secret_ = open(kNotes, "Bank");
        loose_ = open(kNotes, "Draft", {300, 200, 400, 300});
        desk_.activateApp(kMail);
        desk_.runDue();
        callbacks_.instantHide = [] { return true; };
        ASSERT_TRUE(engine().hide(ref(loose_), Guard::unlocked, HideStyle::outOfSight));
        lock(secret_);
    }

    ElementRef secret_;
    ElementRef loose_;
};

TEST_F(ScreenChangeTest, ScreensAreKnownFromTheStart) {
    EXPECT_EQ(engine().placement().knownScreens(),
              (std::vector<Rect>{{0, 0, 1440, 900}, {1440, 0, 1920, 1080}}));
    EXPECT_EQ(engine().placement().changedAt(), kDistantPast);
    EXPECT_FALSE(engine().screensChangedRecently());
    desk_.removeScreen("side");
    EXPECT_TRUE(engine().screensChangedRecently());
    EXPECT_EQ(engine().placement().changedAt(), desk_.loop().now());
    desk_.advanceTime(2.9);
    EXPECT_TRUE(engine().screensChangedRecently());
    desk_.advanceTime(0.1);
    EXPECT_FALSE(engine().screensChangedRecently());
}

TEST_F(ScreenChangeTest, WindowMovedByTheDisplayChangeIsOnlyParkedAgain) {
    ASSERT_EQ(origin(secret_), (Point{3359, 1079}));
    desk_.removeScreen("side");
    // The system gathers the windows of the vanished screen onto the remaining one.
    desk_.moveWindow(secret_, {900, 500});
    desk_.runDue();
    EXPECT_EQ(origin(secret_), (Point{1439, 899}));
    EXPECT_EQ(prompts_, 0);
    EXPECT_TRUE(attempts_.empty());
    EXPECT_TRUE(engine().summons().declined().empty());

    desk_.advanceTime(3);
    desk_.moveWindow(secret_, {900, 500});
    desk_.runDue();
    EXPECT_EQ(prompts_, 1) << "three seconds later a move is the user's again";
}

TEST_F(ScreenChangeTest, ReparkMovesEveryParkedWindowToTheNewCorner) {
    // A locked window whose application stops accepting moves, gathered onto the remaining screen
    // by the system before the program hears of the change.
    ElementRef stuck = open(kNotes, "Diary", {400, 300, 500, 300});
    desk_.activateApp(kMail);
    desk_.runDue();
    lock(stuck);
    desk_.pinWindow(stuck);
    desk_.removeScreen("side");
    desk_.moveWindow(stuck, {400, 300});
    desk_.advanceTime(1);

    engine().reparkAfterScreenChange();
    EXPECT_EQ(engine().placement().knownScreens(), (std::vector<Rect>{{0, 0, 1440, 900}}));
    EXPECT_EQ(engine().placement().changedAt(), desk_.loop().now());
    desk_.runDue();

    EXPECT_EQ(origin(secret_), (Point{1439, 899}));
    EXPECT_EQ(origin(loose_), (Point{1439, 899}));
    EXPECT_TRUE(engine().isLocked(secret_));
    EXPECT_FALSE(minimized(secret_));
    EXPECT_FALSE(minimized(loose_));
    EXPECT_TRUE(minimized(stuck)) << "a locked window that cannot be moved away is minimised";
    EXPECT_EQ(prompts_, 0);
    EXPECT_TRUE(attempts_.empty());
}

}  // namespace
}  // namespace nimbrel
