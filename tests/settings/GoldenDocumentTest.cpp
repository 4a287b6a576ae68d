#include <filesystem>
#include <fstream>
#include <sstream>

#include "StoreFixture.h"

namespace nimbrel::test {
namespace {

// A document stored by an earlier build of the store with every key away from its default. Users
// upgrade with such documents on disk: they must read back whole and be written again unchanged.
std::string goldenBytes() {
    std::ifstream in(std::filesystem::path(NIMBREL_SOURCE_DIR) / "tests" / "settings" / "golden" /
                         "every-key-changed.json",
                     std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const Uuid& firstId() {
    static const Uuid id = *Uuid::parse("00000000-0000-0000-0000-000000000001");
    return id;
}

const Uuid& secondId() {
    static const Uuid id = *Uuid::parse("00000000-0000-0000-0000-000000000002");
    return id;
}

std::vector<SavedCover::Region> coverRegions() {
    return {SavedCover::Region{SavedCover::Window{"com.bank.Online", "Bank", "Überweisung", 77},
                               Rect(12.5, 40, 320.25, 48)},
            SavedCover::Region{std::nullopt, Rect(-1280, 200.5, 640, 90)}};
}

class GoldenDocument : public StoreFixture {
  protected:
    // Every setting the user can change, each away from its default.
    void changeEverything(SettingsStore& s) {
        using Kind = ShortcutTarget::Kind;
        s.assign(KeyCombo{49, kCtrl | kOpt}, ShortcutTarget::fixed(Kind::focused));
        s.set(setting::lockFocused, true);
        s.assign(std::nullopt, ShortcutTarget::fixed(Kind::all));
        s.assign(KeyCombo{96, 0}, ShortcutTarget::fixed(Kind::designate));
        s.assign(KeyCombo{2, kCtrl | kShift | kCmd}, ShortcutTarget::fixed(Kind::focusMode));
        s.assign(KeyCombo{15, kCtrl | kOpt}, ShortcutTarget::fixed(Kind::regionCover));
        s.assign(KeyCombo{7, kCtrl | kOpt}, ShortcutTarget::fixed(Kind::regionClear));

        Uuid bank = s.designate({{"com.bank.Online", "Bank"}, 4242, "Überweisung – Konto"});
        s.assign(KeyCombo{11, kCtrl | kOpt | kCmd}, ShortcutTarget::window(bank));
        s.setLocked(true, ShortcutTarget::window(bank));
        s.keepMissing({bank});
        Uuid notes = s.designate({{std::nullopt, "Notizen"}, std::nullopt, ""});
        s.toggleWholeApp(notes);

        s.addAllowedApp({"com.apple.Music", "Music"});
        s.addAllowedApp({std::nullopt, "Terminal"});
        s.set(setting::focusLock, true);
        s.set(setting::holdDuration, 1.75);
        s.set(setting::idleMinutes, 10);
        s.set(setting::hideMenuBarIcon, true);
        s.set(setting::autoHideOnMonitorChange, true);
        s.set(setting::autoHideOnScreenShare, true);
        s.set(setting::autoHideOnLock, false);
        s.set(setting::relockMinutes, 3);
        s.set(setting::hotCorner, HotCorner::bottomLeft);
        s.set(setting::keywords, {"salary", "Kontoauszug"});
        s.set(setting::useCover, true);
        s.set(setting::showBorders, false);
        s.set(setting::borderIndicatorStyle, BorderIndicatorStyle::cornerMarker);
        s.set(setting::borderColorNormalHex, "#10B981");
        s.set(setting::borderColorLockedHex, "#F59E0B");
        s.set(setting::borderOpacity, 0.45);
        s.setCoverMessage("Privat – bitte nicht stören");
        s.set(setting::instantHide, false);
        s.set(setting::showDockIcon, true);
        s.addSavedCover("Banking", coverRegions());
        s.set(setting::askToRemoveMissing, false);
        s.setScreenChoice("4E0C8A18-E635-803E-94EC-AA48715C9330", "DELL U2720Q");
        s.set(setting::hideWhenAppears, false);
    }
};

TEST_F(GoldenDocument, TheStoreWritesTheStoredDocumentByteForByte) {
    std::string golden = goldenBytes();
    ASSERT_FALSE(golden.empty()) << "the fixture is missing";
    auto store = makeStore();
    changeEverything(*store);
    EXPECT_EQ(defaults.data(SettingsStore::kDefaultsKey), golden);
}

TEST_F(GoldenDocument, TheStoredDocumentReadsBackToTheSameValuesAndIsWrittenUnchanged) {
    std::string golden = goldenBytes();
    defaults.setData(SettingsStore::kDefaultsKey, golden);
    auto s = makeStore();

    EXPECT_EQ(s->focusedCombo().get(), (KeyCombo{49, kCtrl | kOpt}));
    EXPECT_TRUE(s->lockFocused().get());
    EXPECT_EQ(s->allCombo().get(), std::nullopt);
    EXPECT_EQ(s->designateCombo().get(), (KeyCombo{96, 0}));
    EXPECT_EQ(s->focusModeCombo().get(), (KeyCombo{2, kCtrl | kShift | kCmd}));
    EXPECT_EQ(s->regionCoverCombo().get(), (KeyCombo{15, kCtrl | kOpt}));
    EXPECT_EQ(s->regionClearCombo().get(), (KeyCombo{7, kCtrl | kOpt}));

    WindowBinding bank;
    bank.id = firstId();
    bank.bundleID = "com.bank.Online";
    bank.appName = "Bank";
    bank.title = "Überweisung – Konto";
    bank.combo = KeyCombo{11, kCtrl | kOpt | kCmd};
    bank.locked = true;
    bank.windowNumber = 4242;
    bank.keepWhenMissing = true;
    WindowBinding notes;
    notes.id = secondId();
    notes.appName = "Notizen";
    notes.wholeApp = true;
    EXPECT_EQ(s->bindings().get(), (std::vector<WindowBinding>{bank, notes}));
    EXPECT_EQ(s->allowedApps().get(),
              (std::vector<AllowedApp>{{"com.apple.Music", "Music"}, {std::nullopt, "Terminal"}}));

    EXPECT_TRUE(s->focusLock().get());
    EXPECT_EQ(s->holdDuration().get(), 1.75);
    EXPECT_EQ(s->idleMinutes().get(), 10);
    EXPECT_TRUE(s->hideMenuBarIcon().get());
    EXPECT_TRUE(s->autoHideOnMonitorChange().get());
    EXPECT_TRUE(s->autoHideOnScreenShare().get());
    EXPECT_FALSE(s->autoHideOnLock().get());
    EXPECT_EQ(s->relockMinutes().get(), 3);
    EXPECT_EQ(s->hotCorner().get(), HotCorner::bottomLeft);
    EXPECT_EQ(s->keywords().get(), (std::vector<std::string>{"salary", "Kontoauszug"}));
    EXPECT_TRUE(s->useCover().get());
    EXPECT_FALSE(s->showBorders().get());
    EXPECT_EQ(s->borderIndicatorStyle().get(), BorderIndicatorStyle::cornerMarker);
    EXPECT_EQ(s->borderColorNormalHex().get(), "#10B981");
    EXPECT_EQ(s->borderColorLockedHex().get(), "#F59E0B");
    EXPECT_EQ(s->borderOpacity().get(), 0.45);
    EXPECT_EQ(s->coverMessage().get(), "Privat – bitte nicht stören");
    EXPECT_FALSE(s->instantHide().get());
    EXPECT_TRUE(s->showDockIcon().get());
    ASSERT_EQ(s->savedCovers().get().size(), 1u);
    const SavedCover& cover = s->savedCovers().get()[0];
    EXPECT_EQ(cover.id, Uuid::parse("00000000-0000-0000-0000-000000000003"));
    EXPECT_EQ(cover.name, "Banking");
    EXPECT_EQ(cover.regions, coverRegions());
    EXPECT_FALSE(s->askToRemoveMissing().get());
    EXPECT_EQ(s->screenChoice().get(), "4E0C8A18-E635-803E-94EC-AA48715C9330");
    EXPECT_EQ(s->screenChoiceName().get(), "DELL U2720Q");
    EXPECT_FALSE(s->hideWhenAppears().get());

    s->save();
    EXPECT_EQ(defaults.data(SettingsStore::kDefaultsKey), golden);
}

}  // namespace
}  // namespace nimbrel::test
