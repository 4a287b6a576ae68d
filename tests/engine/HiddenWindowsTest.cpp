#include <gtest/gtest.h>

#include "engine/HiddenWindows.h"

namespace nimbrel {
namespace {

const AppRef kApp{7};
const WindowRef kBank{ElementRef{1}, kApp, "Bank"};
const WindowRef kDraft{ElementRef{2}, kApp, "Draft"};

// Hiding a window again makes it the most recent without a second record of it: restoring the
// last window must bring back the one hidden last, and only once.
TEST(HiddenWindowsTest, HidingAgainMovesTheWindowLastWithoutASecondRecord) {
    HiddenWindows hidden;
    hidden.add(kBank);
    hidden.add(kDraft);
    hidden.moveToEnd(kBank);
    ASSERT_EQ(hidden.minimized().size(), 2u);
    EXPECT_EQ(hidden.minimized().front().element, kDraft.element);
    EXPECT_EQ(hidden.minimized().back().element, kBank.element);

    hidden.erase(kBank.element);
    EXPECT_FALSE(hidden.contains(kBank.element));
    EXPECT_TRUE(hidden.contains(kDraft.element));
}

// One origin and one lock per window: a later record replaces the earlier one.
TEST(HiddenWindowsTest, AWindowHasAtMostOneOriginAndOneLock) {
    HiddenWindows hidden;
    hidden.rememberOrigin(kBank.element, {10, 20});
    hidden.rememberOrigin(kBank.element, {30, 40});
    ASSERT_EQ(hidden.hiddenOrigins().size(), 1u);
    EXPECT_EQ(hidden.origin(kBank.element), (Point{30, 40}));

    hidden.addLock(Lock{kBank.element, kApp, Point{1, 2}});
    hidden.addLock(Lock{kBank.element, kApp, std::nullopt});
    ASSERT_EQ(hidden.locks().size(), 1u);
    EXPECT_FALSE(hidden.lockFor(kBank.element)->origin) << "the later lock wins";

    auto removed = hidden.removeLock(kBank.element);
    ASSERT_TRUE(removed);
    EXPECT_FALSE(hidden.isLocked(kBank.element));
    EXPECT_FALSE(hidden.removeLock(kBank.element)) << "nothing left to remove";
}

TEST(HiddenWindowsTest, ClearingKeepsTheLocksForTheirOwnRelease) {
    HiddenWindows hidden;
    hidden.add(kBank);
    hidden.rememberOrigin(kDraft.element, {5, 5});
    hidden.addLock(Lock{kBank.element, kApp, std::nullopt});
    hidden.clear();
    EXPECT_TRUE(hidden.minimized().empty());
    EXPECT_TRUE(hidden.hiddenOrigins().empty());
    EXPECT_TRUE(hidden.hasLocks());
    EXPECT_EQ(hidden.takeLocks().size(), 1u);
    EXPECT_FALSE(hidden.hasLocks());
}

TEST(HiddenWindowsTest, FocusModeIsOffUntilStarted) {
    HiddenWindows hidden;
    EXPECT_FALSE(hidden.focusLocked());
    hidden.startFocus(true);
    EXPECT_TRUE(hidden.focusActive());
    EXPECT_EQ(hidden.focusLocked(), true);
}

}  // namespace
}  // namespace nimbrel
