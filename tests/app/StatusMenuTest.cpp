#include <gtest/gtest.h>

#include "MenuFixture.h"

namespace nimbrel::test {
namespace {

using StatusMenuTest = MenuFixture;

// ---- Shortcut items: a key equivalent when a menu can show one, else the text in the title ----

struct ComboCase {
    const char* name;
    std::optional<KeyCombo> combo;
    std::string title;
    std::optional<MenuKeyEquivalent> key;
};

class ShortcutItemTest : public MenuFixture, public ::testing::WithParamInterface<ComboCase> {};

TEST_P(ShortcutItemTest, HideFocusedShowsItsCombination) {
    const ComboCase& c = GetParam();
    store_->assign(c.combo, ShortcutTarget::fixed(ShortcutTarget::Kind::focused));
    auto item = statusItem("{menu.hideFocused}");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->title, c.title);
    EXPECT_EQ(item->keyEquivalent, c.key);
}

constexpr std::uint32_t kDelete = 51;
constexpr std::uint32_t kF5 = 96;

INSTANTIATE_TEST_SUITE_P(
    Combinations, ShortcutItemTest,
    ::testing::Values(
        ComboCase{
            "letter", KeyCombo{ShellFixture::kKeyW, ShellFixture::kCtrlCmd}, "{menu.hideFocused}",
            MenuKeyEquivalent{"w", MenuKeyEquivalent::kControl | MenuKeyEquivalent::kCommand}},
        ComboCase{
            "allFourModifiers", KeyCombo{ShellFixture::kKeyE, 0x1B00}, "{menu.hideFocused}",
            MenuKeyEquivalent{"e", MenuKeyEquivalent::kControl | MenuKeyEquivalent::kOption |
                                       MenuKeyEquivalent::kShift | MenuKeyEquivalent::kCommand}},
        ComboCase{"functionKey", KeyCombo{kF5, KeyCombo::kOption}, "{menu.hideFocused}  (⌥F5)",
                  std::nullopt},
        ComboCase{"namedKey", KeyCombo{kDelete, KeyCombo::kShift | KeyCombo::kCommand},
                  "{menu.hideFocused}  (⇧⌘⌫)", std::nullopt},
        ComboCase{"none", std::nullopt, "{menu.hideFocused}", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StatusMenuTest, TheDockMenuShowsNoKeyEquivalentsAndNoTextForThem) {
    store_->assign(KeyCombo{kF5, KeyCombo::kOption},
                   ShortcutTarget::fixed(ShortcutTarget::Kind::regionCover));
    regionCovers_ = 2;
    Menu dock = menu_->buildDockMenu();
    EXPECT_EQ(titles(dock),
              (std::vector<std::string>{"{menu.hideFocused}", "{menu.restoreAll}", "---",
                                        "{menu.regionCover}", "{menu.regionCoverSave}",
                                        "{menu.regionCoverClear}", "---", "{menu.settings}"}));
    for (const auto& item : dock.items) {
        EXPECT_FALSE(item.keyEquivalent) << item.title;
    }
    EXPECT_FALSE(find(dock, "{menu.restoreAll}")->enabled) << "nothing is hidden";
}

// ---- Order and groups ----

TEST_F(StatusMenuTest, AWholeMenuInItsOrderWithEveryOptionalGroup) {
    desk_.setTrusted(false);
    store_->setUnavailable({ShortcutTarget::fixed(ShortcutTarget::Kind::all)});
    attempts_->record(10, "Notes — Old", AttemptReason::authFailed);
    regionCovers_ = 1;
    canCheck_ = true;
    Menu menu = menu_->buildStatusMenu();
    EXPECT_EQ(titles(menu),
              (std::vector<std::string>{"{menu.accessibilityNeeded}",
                                        "---",
                                        "{menu.shortcutConflict}",
                                        "---",
                                        "{menu.attemptsTitle|1}",
                                        "---",
                                        "{menu.hideFocused}",
                                        "{menu.reopenLast}{menu.holdSuffix|⌃⌘W}",
                                        "---",
                                        "{menu.focusModeOn}",
                                        "---",
                                        "{menu.designateTitle}{menu.designateCurrentSuffix|⌃⌘S}",
                                        "{menu.regionCover}",
                                        "{menu.regionCoverSave}",
                                        "{menu.regionCoverClear}",
                                        "---",
                                        "{menu.checkForUpdates}",
                                        "{menu.settings}",
                                        "{menu.launchAtLogin}",
                                        "{menu.quit}"}));
    EXPECT_EQ(menu.items.back().role, MenuItem::Role::quitApplication);
    find(menu, "{menu.checkForUpdates}")->action();
    EXPECT_EQ(updateChecks_, 1);
    EXPECT_FALSE(menu_->menuFocusedWindow()) << "without access no window is asked for";
}

TEST_F(StatusMenuTest, AttemptsAreListedNewestFirstAndOnlyTheNewestHundredAreKept) {
    for (int i = 0; i < 102; ++i) {
        attempts_->record(i * 60.0, "Notes — " + std::to_string(i),
                          i % 2 ? AttemptReason::blockedWithoutAuth : AttemptReason::authFailed);
    }
    // What was written is what the next start reads.
    rebuild();
    ASSERT_EQ(attempts_->entries().size(), AttemptsLog::kMaxEntries);
    EXPECT_EQ(attempts_->entries().front().label, "Notes — 2");

    auto parent = statusItem("{menu.attemptsTitle");
    ASSERT_TRUE(parent && parent->submenu);
    EXPECT_EQ(parent->title, "{menu.attemptsTitle|100}");
    Menu rows = parent->submenu();
    ASSERT_EQ(rows.items.size(), 102u);
    EXPECT_EQ(rows.items[0].title,
              "{menu.attemptRow|1/1 01:41:00|{attempt.reason.blockedWithoutAuth}|Notes — 101}");
    EXPECT_EQ(rows.items[99].title,
              "{menu.attemptRow|1/1 00:02:00|{attempt.reason.authFailed}|Notes — 2}");
    EXPECT_FALSE(rows.items[0].enabled);
    EXPECT_EQ(rows.items[100].kind, MenuItem::Kind::separator);
    EXPECT_EQ(rows.items[101].title, "{menu.clearAttempts}");
}

TEST_F(StatusMenuTest, AStoredLogTheProgramCouldNotHaveWrittenReadsAsEmpty) {
    for (const char* stored :
         {R"({"date":1,"label":"a","reason":"authFailed"})",
          R"([{"date":1,"label":"a","reason":"authFailed"},{"date":2,"label":"b","reason":"x"}])",
          R"([{"date":"1","label":"a","reason":"authFailed"}])", "[{", "\xff"}) {
        desk_.defaults().setData(AttemptsLog::kDefaultsKey, stored);
        rebuild();
        EXPECT_TRUE(attempts_->isEmpty()) << stored;
        EXPECT_FALSE(statusItem("{menu.attemptsTitle")) << stored;
    }
}

// ---- The focused window ----

TEST_F(StatusMenuTest, TheDesignationItemsActOnTheWindowFocusedWhenTheMenuOpened) {
    Menu menu = menu_->buildStatusMenu();
    ASSERT_EQ(menu_->menuFocusedWindow()->element, draft_);
    // By the time the item is chosen another window has the focus.
    desk_.focusWindow(notes_);
    desk_.runDue();
    find(menu, "{menu.designateThisWindow}")->action();
    auto binding = lookup_->designatingBinding(ref(draft_));
    ASSERT_TRUE(binding);
    EXPECT_FALSE(lookup_->designatingBinding(ref(notes_)));

    // Widening the window's binding keeps it and makes it whole-application.
    desk_.focusWindow(draft_);
    desk_.runDue();
    menu = menu_->buildStatusMenu();
    EXPECT_TRUE(find(menu, "{menu.expandToWholeApp}"));
    find(menu, "{menu.expandToWholeApp}")->action();
    ASSERT_EQ(store_->bindings().get().size(), 1u);
    EXPECT_TRUE(store_->bindings().get()[0].wholeApp);
    EXPECT_EQ(store_->bindings().get()[0].id, binding->id);
}

TEST_F(StatusMenuTest, WithoutAFocusedWindowTheDesignationActionsBeep) {
    actions_->toggleDesignationFromMenu(std::nullopt);
    actions_->designateWholeAppFromMenu(std::nullopt);
    EXPECT_EQ(count("beep"), 2);
    EXPECT_TRUE(store_->bindings().get().empty());
}

// ---- Saved covers, the login item, lifetimes ----

TEST_F(StatusMenuTest, SavedCoversListTheirNamesWithASummaryAndApplyAllWithTheHoldHint) {
    SavedCover::Region onNotes{SavedCover::Window{std::nullopt, "Notes", "Draft", 100},
                               {0, 0, 50, 50}};
    SavedCover::Region free{std::nullopt, {10, 10, 50, 50}};
    store_->addSavedCover("Desk", {onNotes, free, onNotes});
    auto saved = statusItem("{menu.regionCoverSaved}");
    ASSERT_TRUE(saved && saved->submenu);
    Menu covers = saved->submenu();
    EXPECT_EQ(titles(covers),
              (std::vector<std::string>{"Desk", "---",
                                        "{menu.regionCoverApplyAll}{menu.holdSuffix|⌃⌘R}"}));
    EXPECT_EQ(covers.items[0].toolTip, "{region.saved.summary|3|Notes, {region.screenName}}");
}

TEST_F(StatusMenuTest, TheLoginItemFollowsTheServiceAndARefusalBeeps) {
    statusItem("{menu.launchAtLogin}")->action();
    EXPECT_TRUE(statusItem("{menu.launchAtLogin}")->checked);
    desk_.loginItem().setRefusing(true);
    statusItem("{menu.launchAtLogin}")->action();
    EXPECT_EQ(count("beep"), 1);
    EXPECT_TRUE(statusItem("{menu.launchAtLogin}")->checked) << "a refusal changes nothing";
}

TEST_F(StatusMenuTest, AMenuStillOnScreenAfterItsBuilderIsGoneDoesNothing) {
    engine_->hide(ref(draft_), Guard::unlocked, HideStyle::outOfSight);
    Menu menu = menu_->buildStatusMenu();
    auto restore = find(menu, "{menu.reopenLast}");
    auto designate = find(menu, "{menu.designateTitle}");
    ASSERT_TRUE(restore && restore->enabled && designate);
    menu_.reset();
    restore->action();
    EXPECT_TRUE(designate->submenu().items.empty());
    EXPECT_TRUE(isHidden(draft_));
}

}  // namespace
}  // namespace nimbrel::test
