#include <gtest/gtest.h>

#include "engine/WindowAccess.h"
#include "platform/BundledStrings.h"
#include "platform/UnicodeText.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel {
namespace {

class WindowAccessTest : public testing::Test {
  protected:
    WindowAccessTest()
        : strings_(&english_),
          access_(desk_.accessibility(), desk_.workspace(), desk_.screens(), strings_) {
        desk_.addScreen("main", {0, 0, 1440, 900});
        desk_.launchApp(501, "Notes", std::string("com.example.notes"));
    }

    ElementRef open(const std::string& title, const std::string& subrole = "AXStandardWindow",
                    std::optional<WindowNumber> number = std::nullopt) {
        sim::SimWindowSpec description;
        description.title = title;
        description.frame = {100, 100, 600, 400};
        description.subrole = subrole;
        description.number = number;
        ElementRef element;
        desk_.openWindow(501, description, &element);
        return element;
    }

    ElementRef app() { return desk_.accessibility().applicationElement(501); }

    sim::SimDesktop desk_;
    BundledStrings english_;
    Localizer strings_;
    WindowAccess access_;
};

struct SubroleCase {
    const char* name;
    const char* subrole;
    bool failRead;
    bool standard;
};

class StandardWindows : public WindowAccessTest, public testing::WithParamInterface<SubroleCase> {};

TEST_P(StandardWindows, KeepOnlyStandardWindowsAndDialogs) {
    ElementRef window = open("w", GetParam().subrole);
    if (GetParam().failRead) {
        desk_.failWindow(window, {"subrole"});
    }
    auto windows = access_.standardWindows(app());
    EXPECT_EQ(windows.size(), GetParam().standard ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Subroles, StandardWindows,
    testing::Values(SubroleCase{"standard", "AXStandardWindow", false, true},
                    SubroleCase{"dialog", "AXDialog", false, true},
                    SubroleCase{"sheet", "AXSheet", false, false},
                    SubroleCase{"floating", "AXFloatingWindow", false, false},
                    SubroleCase{"systemDialog", "AXSystemDialog", false, false},
                    SubroleCase{"unreadable", "AXStandardWindow", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowAccessTest, StandardWindowsKeepTheApplicationsOrder) {
    ElementRef back = open("back");
    open("panel", "AXFloatingWindow");
    ElementRef front = open("front");
    EXPECT_EQ(access_.standardWindows(app()), (std::vector<ElementRef>{front, back}));
}

TEST_F(WindowAccessTest, FocusedWindowIsNeverTheProgramsOwn) {
    ElementRef window = open("Groceries");
    EXPECT_FALSE(access_.focusedWindow()) << "no application is frontmost yet";
    desk_.activateApp(501);
    auto focused = access_.focusedWindow();
    ASSERT_TRUE(focused);
    EXPECT_EQ(focused->element, window);
    EXPECT_EQ(focused->title, "Groceries");

    desk_.programStarted();
    desk_.application().activateIgnoringOtherApps();
    EXPECT_FALSE(access_.focusedWindow());
}

TEST_F(WindowAccessTest, ZeroWindowNumberMeansNoNumberAndNoKey) {
    ElementRef none = open("none", "AXStandardWindow", 0);
    ElementRef numbered = open("numbered", "AXStandardWindow", 4242);
    AppRef notes = *desk_.workspace().runningApplication(501);
    EXPECT_FALSE(access_.windowNumber(none));
    EXPECT_FALSE(access_.key(WindowRef{none, notes, "none"}));
    auto key = access_.key(WindowRef{numbered, notes, "numbered"});
    ASSERT_TRUE(key);
    EXPECT_EQ(*key, (WindowKey{501, std::string("com.example.notes"), 4242}));
    auto resolved = access_.resolve(*key);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->element, numbered);
}

TEST_F(WindowAccessTest, KeyDoesNotResolveToAnotherApplicationOrAfterRelaunch) {
    ElementRef numbered = open("numbered", "AXStandardWindow", 4242);
    AppRef notes = *desk_.workspace().runningApplication(501);
    WindowKey key = *access_.key(WindowRef{numbered, notes, ""});
    WindowKey otherBundle = key;
    otherBundle.bundleID = "com.example.other";
    EXPECT_FALSE(access_.resolve(otherBundle));
    desk_.quitApp(501);
    EXPECT_FALSE(access_.resolve(key));
}

TEST_F(WindowAccessTest, LabelsUseTheAppNameAndCutLongTitles) {
    ElementRef window = open("");
    AppRef notes = *desk_.workspace().runningApplication(501);
    EXPECT_EQ(access_.label(WindowRef{window, notes, ""}), "Notes");
    EXPECT_EQ(access_.label(WindowRef{window, notes, "Bank"}), "Notes — Bank");
    std::string label = access_.label(WindowRef{window, notes, std::string(70, 'x')});
    EXPECT_EQ(characterCount(label), 60u);
}

TEST_F(WindowAccessTest, AllWindowsCoverRegularApplicationsOnly) {
    open("note");
    desk_.launchApp(502, "Helper", std::nullopt, ActivationPolicy::accessory);
    sim::SimWindowSpec description;
    description.title = "helper";
    description.frame = {0, 0, 100, 100};
    desk_.openWindow(502, description);
    auto windows = access_.allWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].title, "note");
}

TEST_F(WindowAccessTest, ReadsAreAbsentWhenUntrusted) {
    ElementRef window = open("w");
    desk_.setTrusted(false);
    EXPECT_FALSE(access_.position(window));
    EXPECT_TRUE(access_.standardWindows(app()).empty());
    EXPECT_TRUE(access_.isOnScreen(window)) << "an unreadable frame counts as on screen";
    EXPECT_NE(access_.setPosition({0, 0}, window), AXError::success);
}

}  // namespace
}  // namespace nimbrel
