#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ShellFixture.h"

namespace nimbrel {
namespace {

using test::ShellFixture;

// The tick's passes that belong to other components run after the hiding steps, in their order,
// and the lock key follows both its setting and the accessibility permission.
class TickHooks : public ShellFixture {
  protected:
    TickHooks() {
        TriggerHooks hooks;
        hooks.applyAppearSetting = [this] { calls_.push_back("appearSetting"); };
        hooks.runAppearPass = [this] {
            // The keyword step has run by now.
            calls_.push_back(isHidden(draft_) ? "appearPass(after keywords)" : "appearPass");
        };
        hooks.checkMissingWindows = [this] { calls_.push_back("missingWindows"); };
        hooks.isLockKeyOn = [this] { return lockKeyOn_; };
        hooks.switchLockKey = [this](bool on) {
            lockKeyOn_ = on;
            calls_.push_back(on ? "lockKey on" : "lockKey off");
        };
        hooks.reapplyFocusMode = [this] { calls_.push_back("focusMode"); };
        triggers_ = makeTriggers(std::move(hooks));
    }

    std::vector<std::string> takeCalls() { return std::exchange(calls_, {}); }

    std::vector<std::string> calls_;
    bool lockKeyOn_ = false;
};

TEST_F(TickHooks, RunAfterTheHidingStepsAndSwitchTheLockKeyOnlyOnAChange) {
    triggers_->applyTriggerSettings();
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"appearSetting", "lockKey on"}));

    store_->set(setting::keywords, {"draft"});
    triggers_->autoHideTick();
    // Focus mode is off, so it is not re-applied.
    EXPECT_EQ(takeCalls(),
              (std::vector<std::string>{"appearPass(after keywords)", "missingWindows"}));

    // The permission withdrawn: the next tick turns the key off, whatever the setting says.
    desk_.setTrusted(false);
    triggers_->autoHideTick();
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"appearPass(after keywords)", "missingWindows",
                                                     "lockKey off"}));
    desk_.setTrusted(true);
    store_->set(setting::autoHideOnLock, false);
    triggers_->applyTriggerSettings();
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"appearSetting"}));
}

TEST_F(ShellFixture, HotCornerMonitorExistsOnlyWhileACornerIsSet) {
    auto monitors = [this] { return desk_.world().mouseMonitors().size(); };
    triggers_->applyTriggerSettings();
    EXPECT_EQ(monitors(), 0u);

    store_->set(setting::hotCorner, HotCorner::topLeft);
    triggers_->applyTriggerSettings();
    store_->set(setting::hotCorner, HotCorner::bottomRight);
    triggers_->applyTriggerSettings();
    EXPECT_TRUE(triggers_->isWatchingHotCorner());
    EXPECT_EQ(monitors(), 1u);

    store_->set(setting::hotCorner, HotCorner::off);
    triggers_->applyTriggerSettings();
    EXPECT_FALSE(triggers_->isWatchingHotCorner());
    EXPECT_EQ(monitors(), 0u);
}

TEST_F(ShellFixture, ScreenSharingNeedsThePermissionAndSkipsEndedApplications) {
    desk_.launchApp(602, "zoom.us", std::string("us.zoom.xos"), ActivationPolicy::accessory);
    desk_.openWindow(602, sim::SimWindowSpec("You are sharing", {0, 0, 300, 40},
                                             std::string(ax::subrole::kFloatingWindow)));
    desk_.runDue();
    EXPECT_TRUE(screenShare_->isScreenSharing());

    desk_.setTrusted(false);
    EXPECT_FALSE(screenShare_->isScreenSharing());
    desk_.setTrusted(true);

    desk_.quitApp(602);
    desk_.runDue();
    EXPECT_FALSE(screenShare_->isScreenSharing());
}

}  // namespace
}  // namespace nimbrel
