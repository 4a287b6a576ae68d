#include <cmath>
#include <functional>
#include <limits>

#include "StoreFixture.h"
#include "settings/BorderColor.h"

namespace nimbrel::test {
namespace {

TEST_F(StoreFixture, AFreshStoreReadsBackEveryValueItWrote) {
    auto first = makeStore();
    first->set(setting::holdDuration, 0.6);
    first->set(setting::idleMinutes, 3);
    first->set(setting::relockMinutes, 7);
    first->set(setting::hotCorner, HotCorner::topRight);
    first->set(setting::borderIndicatorStyle, BorderIndicatorStyle::cornerMarker);
    first->set(setting::borderOpacity, 0.5);
    first->set(setting::borderColorNormalHex, "#112233");
    first->setCoverMessage("  Private  ");
    first->set(setting::keywords, {"bank", "salary"});
    first->setScreenChoice("mouse", "Under the pointer");
    first->set(setting::autoHideOnLock, false);
    first->set(setting::showDockIcon, true);
    first->assign(std::nullopt, ShortcutTarget::fixed(ShortcutTarget::Kind::focusMode));
    first->assign(KeyCombo{96, 0}, ShortcutTarget::fixed(ShortcutTarget::Kind::focused));
    Uuid id = first->designate({{"com.apple.Safari", "Safari"}, 4242, "Bank"});
    first->assign(KeyCombo{11, kCtrl | kOpt | kCmd}, ShortcutTarget::window(id));
    first->setLocked(true, ShortcutTarget::window(id));
    first->addAllowedApp({std::nullopt, "Notes"});
    SavedCover::Region region{SavedCover::Window{"com.apple.Safari", "Safari", "Bank", 4242},
                              Rect(10.5, 20, 300, 40)};
    ASSERT_TRUE(first->addSavedCover("Banking", {region}));
    Json written = storedDocument();

    auto second = makeStore();
    EXPECT_EQ(second->holdDuration().get(), 0.6);
    EXPECT_EQ(second->hotCorner().get(), HotCorner::topRight);
    EXPECT_EQ(second->borderIndicatorStyle().get(), BorderIndicatorStyle::cornerMarker);
    EXPECT_EQ(second->coverMessage().get(), "Private");
    EXPECT_EQ(second->focusModeCombo().get(), std::nullopt);
    EXPECT_EQ(second->focusedCombo().get(), (KeyCombo{96, 0}));
    EXPECT_EQ(second->bindings().get(), first->bindings().get());
    EXPECT_EQ(second->allowedApps().get(), first->allowedApps().get());
    EXPECT_EQ(second->savedCovers().get(), first->savedCovers().get());
    EXPECT_EQ(second->screenChoiceName().get(), "Under the pointer");
    // Nothing drifts on the way through: the next save writes the same document.
    second->save();
    EXPECT_EQ(storedDocument(), written);
}

TEST_F(StoreFixture, AnUnreadableDocumentLoadsDefaultsAndIsKeptAsideAtTheFirstSave) {
    Json doc{
        {"useCover", "yes"},  // the one wrong type
        {"bindings",
         Json::array({bindingJson("6F1C2D3E-4A5B-4C6D-8E7F-901A2B3C4D5E", "Safari", "Bank")})}};
    std::string original = doc.dump();
    defaults.setData(SettingsStore::kDefaultsKey, original);

    auto store = makeStore();
    EXPECT_TRUE(store->bindings().get().empty());
    EXPECT_FALSE(store->useCover().get());
    EXPECT_EQ(defaults.data(SettingsStore::kDefaultsKey), original) << "load must not write";
    EXPECT_FALSE(defaults.contains(SettingsStore::kUnreadableKey));

    store->set(setting::instantHide, false);
    EXPECT_EQ(defaults.data(SettingsStore::kUnreadableKey), original);
    EXPECT_EQ(storedDocument()["instantHide"], false);
    // Kept once: later saves leave the copy alone.
    store->set(setting::instantHide, true);
    EXPECT_EQ(defaults.data(SettingsStore::kUnreadableKey), original);
}

TEST_F(StoreFixture, BytesThatAreNotJsonAreKeptAsideToo) {
    defaults.setData(SettingsStore::kDefaultsKey, "{\"bindings\": [");
    auto store = makeStore();
    store->set(setting::useCover, true);
    EXPECT_EQ(defaults.data(SettingsStore::kUnreadableKey), "{\"bindings\": [");
}

TEST_F(StoreFixture, ADocumentWithANonFiniteNumberIsNotWritten) {
    auto store = makeStore();
    store->set(setting::holdDuration, 2.0);
    std::string before = *defaults.data(SettingsStore::kDefaultsKey);
    store->set(setting::holdDuration, std::numeric_limits<double>::infinity());
    EXPECT_EQ(defaults.data(SettingsStore::kDefaultsKey), before);
    store->set(setting::borderOpacity, std::nan(""));
    EXPECT_EQ(defaults.data(SettingsStore::kDefaultsKey), before);
    store->set(setting::holdDuration, 1.5);
    store->set(setting::borderOpacity, 0.4);
    EXPECT_EQ(storedDocument()["holdDuration"], 1.5);
}

TEST_F(StoreFixture, TheDefaultCoverMessageIsStoredEmptyAndFollowsTheLanguage) {
    auto store = makeStore();
    store->setCoverMessage("Hidden by Nimbrel");
    EXPECT_EQ(storedDocument()["coverMessage"], "");
    store->setCoverMessage(" \t\n ");
    EXPECT_EQ(store->coverMessage().get(), "Hidden by Nimbrel");
    EXPECT_EQ(storedDocument()["coverMessage"], "");

    Localizer keys(nullptr);
    auto relaunched = makeStore(keys);
    EXPECT_EQ(relaunched->coverMessage().get(), "{cover.label}");

    store->setCoverMessage("Away");
    store->resetCoverMessage();
    EXPECT_EQ(storedDocument()["coverMessage"], "");
}

// Which callback each setter of the settings window announces its change with.
struct CallbackCase {
    const char* name;
    std::function<void(SettingsStore&)> change;
    int triggers;
    int borders;
    int dock;
};

class SetterCallbacks : public StoreFixture, public ::testing::WithParamInterface<CallbackCase> {};

TEST_P(SetterCallbacks, SaveThenAnnounceTheirKind) {
    auto store = makeStore();
    int triggers = 0, borders = 0, dock = 0, shortcuts = 0;
    bool savedFirst = true;
    auto saved = [&] { savedFirst = savedFirst && defaults.contains(SettingsStore::kDefaultsKey); };
    store->onTriggersChanged = [&] { ++triggers, saved(); };
    store->onBordersChanged = [&] { ++borders, saved(); };
    store->onDockIconChanged = [&] { ++dock, saved(); };
    store->onShortcutsChanged = [&] { ++shortcuts; };
    GetParam().change(*store);
    EXPECT_EQ(triggers, GetParam().triggers);
    EXPECT_EQ(borders, GetParam().borders);
    EXPECT_EQ(dock, GetParam().dock);
    EXPECT_EQ(shortcuts, 0);
    EXPECT_TRUE(savedFirst);
    EXPECT_TRUE(defaults.contains(SettingsStore::kDefaultsKey));
}

INSTANTIATE_TEST_SUITE_P(
    Setters, SetterCallbacks,
    ::testing::Values(
        CallbackCase{"holdDuration", [](SettingsStore& s) { s.set(setting::holdDuration, 2); }, 0,
                     0, 0},
        CallbackCase{"lockFocused", [](SettingsStore& s) { s.set(setting::lockFocused, true); }, 0,
                     0, 0},
        CallbackCase{"keywords", [](SettingsStore& s) { s.set(setting::keywords, {"x"}); }, 0, 0,
                     0},
        CallbackCase{"hotCorner",
                     [](SettingsStore& s) { s.set(setting::hotCorner, HotCorner::topLeft); }, 1, 0,
                     0},
        CallbackCase{"screenShare",
                     [](SettingsStore& s) { s.set(setting::autoHideOnScreenShare, true); }, 1, 0,
                     0},
        CallbackCase{"hideWhenAppears",
                     [](SettingsStore& s) { s.set(setting::hideWhenAppears, false); }, 1, 0, 0},
        CallbackCase{"opacity", [](SettingsStore& s) { s.set(setting::borderOpacity, 0.3); }, 0, 1,
                     0},
        CallbackCase{"lockedColour",
                     [](SettingsStore& s) { s.set(setting::borderColorLockedHex, "#000000"); }, 0,
                     1, 0},
        CallbackCase{"resetBorders", [](SettingsStore& s) { s.resetBorderAppearance(); }, 0, 1, 0},
        CallbackCase{"dockIcon", [](SettingsStore& s) { s.set(setting::showDockIcon, true); }, 0, 0,
                     1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreFixture, SettersNormaliseWhatTheyStore) {
    auto store = makeStore();
    store->set(setting::borderOpacity, 0.05);
    EXPECT_EQ(store->borderOpacity().get(), 0.2);
    store->set(setting::borderOpacity, 1.7);
    EXPECT_EQ(store->borderOpacity().get(), 1.0);
    store->set(setting::keywords, {"  bank\t", "", " \t ", "pay slip", " new line\n"});
    EXPECT_EQ(store->keywords().get(),
              (std::vector<std::string>{"bank", "pay slip", "new line\n"}));

    std::vector<std::pair<std::string, std::string>> handed;
    SettingsStore::Services services{defaults, strings, sound, keyMonitor, layout};
    services.screenChoiceChanged = [&](const std::string& id, const std::string& name) {
        handed.emplace_back(id, name);
    };
    store->setScreenChoice("ABC-123", "Studio Display");
    SettingsStore relaunched(std::move(services));
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0], (std::pair<std::string, std::string>{"ABC-123", "Studio Display"}));
}

TEST_F(StoreFixture, PublishedPropertiesGiveTheValueAtOnceAndEveryChange) {
    auto store = makeStore();
    std::vector<bool> seen;
    {
        Subscription watching = store->useCover().subscribe([&](bool on) { seen.push_back(on); });
        store->set(setting::useCover, true);
        store->set(setting::useCover, true);  // no change, no announcement
        store->set(setting::useCover, false);
    }
    store->set(setting::useCover, true);  // after the subscription ended
    EXPECT_EQ(seen, (std::vector<bool>{false, true, false}));
}

struct ColourCase {
    const char* name;
    const char* text;
    std::optional<SrgbColor> color;
};

class BorderColourText : public ::testing::TestWithParam<ColourCase> {};

TEST_P(BorderColourText, ParsesSixHexDigits) {
    EXPECT_EQ(bordercolor::fromHex(GetParam().text), GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BorderColourText,
    ::testing::Values(ColourCase{"withHash", "#FF8000", SrgbColor{1, 128 / 255.0, 0, 1}},
                      ColourCase{"withoutHashLowerCase", "ff8000", SrgbColor{1, 128 / 255.0, 0, 1}},
                      ColourCase{"surroundingSpace", " \n#000000 ", SrgbColor{0, 0, 0, 1}},
                      ColourCase{"fiveDigits", "#FF800", std::nullopt},
                      ColourCase{"sevenDigits", "#FF80000", std::nullopt},
                      ColourCase{"twoHashes", "##FF8000", std::nullopt},
                      ColourCase{"notHex", "#GG8000", std::nullopt},
                      ColourCase{"signed", "#-F8000", std::nullopt},
                      ColourCase{"empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BorderColour, FormatsRoundedUpperCaseAndFallsBackToSystemColours) {
    EXPECT_EQ(bordercolor::toHex(SrgbColor{1, 0.5, 0, 1}), "#FF8000");  // 127.5 rounds up
    EXPECT_EQ(bordercolor::toHex(SrgbColor{37 / 255.0, 99 / 255.0, 235 / 255.0, 1}), "#2563EB");
    EXPECT_EQ(bordercolor::toHex(std::nullopt), "#000000");
    EXPECT_EQ(bordercolor::toHex(SrgbColor{1.2, -0.1, 0.5, 1}), "#FF0080");

    sim::SimUserDefaults defaults;
    CountingSound sound;
    sim::SimKeyMonitor monitor;
    sim::SimKeyboardLayout layout;
    Localizer keys(nullptr);
    SettingsStore store({defaults, keys, sound, monitor, layout});
    store.set(setting::borderColorNormalHex, "blue");
    EXPECT_EQ(store.normalBorderColor(), bordercolor::kSystemBlue);
    EXPECT_EQ(store.lockedBorderColor(), (SrgbColor{239 / 255.0, 68 / 255.0, 68 / 255.0, 1}));
}

TEST_F(StoreFixture, SavedCoversAreNamedTrimmedRenamedAndRemoved) {
    auto store = makeStore();
    EXPECT_FALSE(store->addSavedCover("Empty", {}));

    SavedCover::Region free{std::nullopt, Rect(0, 0, 100, 50)};
    SavedCover::Region untitled{SavedCover::Window{std::nullopt, "Notes", "", std::nullopt},
                                Rect(1, 2, 3, 4)};
    SavedCover::Region titled{SavedCover::Window{"com.bank", "Bank", std::string(70, 'x'), 7},
                              Rect(1, 2, 3, 4)};
    EXPECT_EQ(store->defaultCoverName({free}), "Screen");
    EXPECT_EQ(store->defaultCoverName({free, untitled, titled}), "Notes");
    std::string cut = store->defaultCoverName({titled});
    EXPECT_EQ(cut, "Bank — " + std::string(52, 'x') + "…");

    auto added = store->addSavedCover("  \n", {free});
    ASSERT_TRUE(added);
    EXPECT_EQ(added->name, "Screen");
    auto second = store->addSavedCover(" Work ", {untitled});
    EXPECT_EQ(second->name, "Work");

    store->renameSavedCover(added->id, "   ");
    store->renameSavedCover(Uuid{}, "Nobody");
    EXPECT_EQ(store->savedCovers().get()[0].name, "Screen");
    store->renameSavedCover(added->id, " Desk ");
    EXPECT_EQ(store->savedCovers().get()[0].name, "Desk");

    store->removeSavedCover(added->id);
    ASSERT_EQ(store->savedCovers().get().size(), 1u);
    EXPECT_EQ(storedDocument()["savedCovers"][0]["name"], "Work");
    EXPECT_EQ(storedDocument()["savedCovers"][0]["regions"][0]["rect"],
              (Json::array({Json::array({1.0, 2.0}), Json::array({3.0, 4.0})})));
}

TEST_F(StoreFixture, PasswordOperationsUpdateTheFlagsOnlyOnSuccess) {
    bool flowAnswer = true;
    int removed = 0;
    SettingsStore::Services services{defaults, strings, sound, keyMonitor, layout};
    services.authenticate = auth.gate();
    services.appPasswordMissing = true;
    services.runSetPasswordFlow = [&](SettingsStore::Completion done) { done(flowAnswer); };
    services.removeAppPassword = [&] {
        ++removed;
        return true;
    };
    SettingsStore store(std::move(services));
    EXPECT_FALSE(store.hasAppPassword().get());
    EXPECT_TRUE(store.appPasswordMissing().get());

    std::vector<bool> outcomes;
    store.setOrChangePassword([&](bool ok) { outcomes.push_back(ok); });
    EXPECT_TRUE(store.hasAppPassword().get());
    EXPECT_FALSE(store.appPasswordMissing().get());

    auth.next(false);
    store.clearPassword([&](bool ok) { outcomes.push_back(ok); });
    EXPECT_EQ(removed, 0);
    EXPECT_TRUE(store.hasAppPassword().get());
    auth.next(true);
    store.clearPassword([&](bool ok) { outcomes.push_back(ok); });
    EXPECT_EQ(removed, 1);
    EXPECT_FALSE(store.hasAppPassword().get());
    EXPECT_EQ(outcomes, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(auth.reasons.back(), strings.text(StringKey{"auth.reason.clearPassword"}));
    EXPECT_FALSE(defaults.contains(SettingsStore::kDefaultsKey)) << "no settings were changed";
}

}  // namespace
}  // namespace nimbrel::test

namespace nimbrel::test {
namespace {

TEST_F(StoreFixture, ATitleThatIsNotValidUtf8IsSavedWithReplacementCharacters) {
    auto store = makeStore();
    store->designate({{"com.odd", "Odd"}, 3, "caf\xE9"});
    Json doc = storedDocument();
    ASSERT_TRUE(doc.is_object()) << "the document was written";
    EXPECT_EQ(doc["bindings"][0]["title"], "caf\xEF\xBF\xBD");
}

}  // namespace
}  // namespace nimbrel::test
