#include <gtest/gtest.h>

#include <memory>

#include "app/ProgramEntry.h"
#include "platform/Localizer.h"
#include "platform/sim/SimDesktop.h"
#include "settings/PublishedSettings.h"

namespace nimbrel::test {
namespace {

// The program's icon as the delegate sets it up at launch, on a desktop with or without symbols.
class StatusItemTest : public ::testing::Test {
  protected:
    void launch() {
        desk_.programStarted();
        platform_ = std::make_unique<Platform>(desk_.platform(strings_));
        program_ = launchProgram(*platform_);
        desk_.runDue();
    }
    void TearDown() override {
        program_.reset();
        desk_.programEnded();
    }

    sim::SimDesktop desk_;
    Localizer strings_{nullptr};
    std::unique_ptr<Platform> platform_;
    std::unique_ptr<AppDelegate> program_;
};

TEST_F(StatusItemTest, TheSymbolIsDescribedAndAMissingOneGivesWayToTheArrowTitle) {
    launch();
    const sim::SimStatusItemState* item = desk_.statusBar().item();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->symbol, "dock.arrow.down.rectangle");
    EXPECT_EQ(item->description, "{menu.statusItem.accessibility}");
    EXPECT_TRUE(item->title.empty());
    program_.reset();
    EXPECT_EQ(desk_.statusBar().item(), nullptr) << "the icon leaves the bar with the program";

    desk_.programEnded();
    desk_.statusBar().setSymbolsMissing(true);
    launch();
    item = desk_.statusBar().item();
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->symbol.empty());
    EXPECT_EQ(item->title, "\u2B07\uFE0E");
}

TEST_F(StatusItemTest, TheIconFollowsTheHiddenSettingAtOnceAndOnEveryChange) {
    desk_.defaults().setData("settings.v1", R"({"hideMenuBarIcon":true})");
    launch();
    ASSERT_NE(desk_.statusBar().item(), nullptr);
    EXPECT_FALSE(desk_.statusBar().item()->visible);
    program_->store().set(setting::hideMenuBarIcon, false);
    EXPECT_TRUE(desk_.statusBar().item()->visible);
    program_->store().set(setting::hideMenuBarIcon, true);
    EXPECT_FALSE(desk_.statusBar().item()->visible);
}

}  // namespace
}  // namespace nimbrel::test
