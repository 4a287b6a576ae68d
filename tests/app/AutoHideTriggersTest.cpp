#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "app/ShellFixture.h"

namespace nimbrel {
namespace {

using test::ShellFixture;

// "Draft" and "Ideas" are each bound on their own; the case decides what stands in the way.
enum class Setup {
    nothingBound,
    bothShown,
    draftLockedBinding,
    ideasAlreadyHidden,
    ideasWillNotMove,
    onlyIdeasBoundWillNotMove,
};

struct HideAllCase {
    const char* name;
    Setup setup;
    bool beep;
    long found;
    long hidden;
    int beeps;
};

void PrintTo(const HideAllCase& c, std::ostream* os) {
    *os << c.name;
}

class HideAllBound : public ShellFixture, public testing::WithParamInterface<HideAllCase> {};

TEST_P(HideAllBound, CountsWhatNeededHidingAndWhatWentAndBeepsOnlyWhenAsked) {
    const HideAllCase& c = GetParam();
    if (c.setup != Setup::nothingBound && c.setup != Setup::onlyIdeasBoundWillNotMove) {
        Uuid draft = designate(draft_);
        if (c.setup == Setup::draftLockedBinding) {
            store_->setLocked(true, ShortcutTarget::window(draft));
        }
    }
    if (c.setup != Setup::nothingBound) {
        designate(notes_);
    }
    if (c.setup == Setup::ideasAlreadyHidden) {
        ASSERT_TRUE(engine_->hide(ref(notes_), Guard::unlocked, HideStyle::outOfSight));
    }
    if (c.setup == Setup::ideasWillNotMove || c.setup == Setup::onlyIdeasBoundWillNotMove) {
        desk_.failWindow(notes_, {"position", "minimized"});
    }

    AutoHideTriggers::HideCounts counts = triggers_->hideAllBound(c.beep);
    desk_.runDue();
    EXPECT_EQ(counts.found, c.found);
    EXPECT_EQ(counts.hidden, c.hidden);
    EXPECT_EQ(count("beep"), c.beeps);
    EXPECT_EQ(engine_->isLocked(draft_), c.setup == Setup::draftLockedBinding);
}

INSTANTIATE_TEST_SUITE_P(
    Bindings, HideAllBound,
    testing::Values(
        HideAllCase{"bothShown", Setup::bothShown, false, 2, 2, 0},
        HideAllCase{"lockedBindingHidesLocked", Setup::draftLockedBinding, false, 2, 2, 0},
        HideAllCase{"alreadyHiddenIsNotFoundAgain", Setup::ideasAlreadyHidden, true, 1, 1, 0},
        HideAllCase{"refusalCountsAsFoundOnly", Setup::ideasWillNotMove, true, 2, 1, 0},
        HideAllCase{"onlyRefusalsBeepForTheShortcut", Setup::onlyIdeasBoundWillNotMove, true, 1, 0,
                    1},
        HideAllCase{"nothingBoundIsSilentForATrigger", Setup::nothingBound, false, 0, 0, 0},
        HideAllCase{"nothingBoundBeepsForTheShortcut", Setup::nothingBound, true, 0, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// The monitor trigger compares the number of screens with the one it last saw, whether or not the
// setting was on then.
struct MonitorCase {
    const char* name;
    bool onWhenAdded;    // the setting when a second screen is added
    bool onWhenChanged;  // the setting at the next change, which keeps two screens
    bool hidden;
};

void PrintTo(const MonitorCase& c, std::ostream* os) {
    *os << c.name;
}

class MonitorChange : public ShellFixture, public testing::WithParamInterface<MonitorCase> {};

TEST_P(MonitorChange, HidesOnlyWhenTheCountDiffersFromTheLastOneSeen) {
    const MonitorCase& c = GetParam();
    designate(draft_);
    triggers_->observeSystemEvents();

    store_->set(setting::autoHideOnMonitorChange, c.onWhenAdded);
    desk_.addScreen("side", {1440, 0, 1920, 1080});
    desk_.runDue();
    store_->set(setting::autoHideOnMonitorChange, c.onWhenChanged);
    desk_.notify(SystemEvent::screenParametersChanged);
    desk_.runDue();
    EXPECT_EQ(isHidden(draft_), c.hidden);
}

INSTANTIATE_TEST_SUITE_P(Settings, MonitorChange,
                         testing::Values(MonitorCase{"onWhenAddedHides", true, true, true},
                                         MonitorCase{"offWhenAddedThenOnDoesNotFireOnTheOldChange",
                                                     false, true, false},
                                         MonitorCase{"offThroughout", false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimbrel
