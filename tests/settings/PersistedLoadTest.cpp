#include <functional>

#include "StoreFixture.h"

namespace nimbrel::test {
namespace {

constexpr const char* kBindingId = "6F1C2D3E-4A5B-4C6D-8E7F-901A2B3C4D5E";

// Shortcuts version 1 used ⌃⇧⌘; unchanged ones move to ⌃⌘ unless a binding holds the new default.
struct MigrationCase {
    const char* name;
    Json document;
    std::optional<KeyCombo> focused;
    std::optional<KeyCombo> all;
};

class ShortcutMigration : public StoreFixture,
                          public ::testing::WithParamInterface<MigrationCase> {};

TEST_P(ShortcutMigration, MovesOnlyUntouchedOldDefaults) {
    storeDocument(GetParam().document);
    auto store = makeStore();
    EXPECT_EQ(store->focusedCombo().get(), GetParam().focused);
    EXPECT_EQ(store->allCombo().get(), GetParam().all);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ShortcutMigration,
    ::testing::Values(
        MigrationCase{"versionMissing",
                      {{"focusedCombo", comboJson(13, kCtrl | kShift | kCmd)}},
                      KeyCombo{13, kCtrl | kCmd},
                      KeyCombo{14, kCtrl | kCmd}},
        MigrationCase{"bindingHoldsNewDefault",
                      {{"focusedCombo", comboJson(13, kCtrl | kShift | kCmd)},
                       {"bindings", Json::array({bindingJson(kBindingId, "Safari", "Bank",
                                                             KeyCombo{13, kCtrl | kCmd})})}},
                      KeyCombo{13, kCtrl | kShift | kCmd},
                      KeyCombo{14, kCtrl | kCmd}},
        MigrationCase{"userChangedAllWindows",
                      {{"focusedCombo", comboJson(13, kCtrl | kShift | kCmd)},
                       {"allCombo", comboJson(14, kCtrl | kOpt)}},
                      KeyCombo{13, kCtrl | kCmd},
                      KeyCombo{14, kCtrl | kOpt}},
        MigrationCase{"versionOneExplicit",
                      {{"allCombo", comboJson(14, kCtrl | kShift | kCmd)}, {"shortcutsVersion", 1}},
                      KeyCombo{13, kCtrl | kCmd},
                      KeyCombo{14, kCtrl | kCmd}},
        MigrationCase{
            "versionTwoKeepsWhatItHas",
            {{"focusedCombo", comboJson(13, kCtrl | kShift | kCmd)}, {"shortcutsVersion", 2}},
            KeyCombo{13, kCtrl | kShift | kCmd},
            KeyCombo{14, kCtrl | kCmd}},
        MigrationCase{"clearedStaysCleared",
                      {{"focusedCombo", nullptr}, {"allCombo", nullptr}},
                      std::nullopt,
                      std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// A document from before region clear existed: it follows the others' modifiers when they agree.
struct RegionClearCase {
    const char* name;
    std::optional<std::uint32_t> mask;     // the five other shortcuts' modifiers; none = all null
    std::optional<std::uint32_t> allMask;  // a different mask for the all-windows shortcut
    bool presentAsNull;
    std::optional<KeyCombo> expected;
};

class RegionClearRule : public StoreFixture,
                        public ::testing::WithParamInterface<RegionClearCase> {};

TEST_P(RegionClearRule, FollowsOneSharedModifierSet) {
    const auto& c = GetParam();
    Json doc{{"shortcutsVersion", 2}};
    const std::pair<const char*, std::uint32_t> keys[] = {{"focusedCombo", 13},
                                                          {"allCombo", 14},
                                                          {"designateCombo", 1},
                                                          {"focusModeCombo", 2},
                                                          {"regionCoverCombo", 15}};
    for (const auto& [key, code] : keys) {
        doc[key] = c.mask ? comboJson(code, *c.mask) : Json(nullptr);
    }
    if (c.allMask) {
        // F3, which is a shortcut with any modifiers, none included.
        doc["allCombo"] = comboJson(99, *c.allMask);
    }
    if (c.presentAsNull) {
        doc["regionClearCombo"] = nullptr;
    }
    storeDocument(doc);
    auto store = makeStore();
    EXPECT_EQ(store->regionClearCombo().get(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, RegionClearRule,
    ::testing::Values(
        RegionClearCase{"sharedControlOption", kCtrl | kOpt, std::nullopt, false,
                        KeyCombo{7, kCtrl | kOpt}},
        RegionClearCase{"mixedSets", kCtrl | kOpt, kCtrl | kCmd, false, KeyCombo{7, kCtrl | kCmd}},
        RegionClearCase{"allNull", std::nullopt, std::nullopt, false, KeyCombo{7, kCtrl | kCmd}},
        // Unmodified F-keys do not count as a modifier set.
        RegionClearCase{"zeroMasksIgnored", kCtrl | kOpt, 0u, false, KeyCombo{7, kCtrl | kOpt}},
        RegionClearCase{"presentNullStaysNull", kCtrl | kOpt, std::nullopt, true, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// Stored values out of range are corrected as they are published.
struct CorrectionCase {
    const char* name;
    const char* key;
    Json stored;
    std::function<bool(const SettingsStore&)> holds;
};

class LoadCorrections : public StoreFixture,
                        public ::testing::WithParamInterface<CorrectionCase> {};

TEST_P(LoadCorrections, CorrectsOutOfRangeValues) {
    storeDocument(Json{{GetParam().key, GetParam().stored}});
    auto store = makeStore();
    EXPECT_TRUE(GetParam().holds(*store));
}

INSTANTIATE_TEST_SUITE_P(
    Values, LoadCorrections,
    ::testing::Values(
        CorrectionCase{
            "hotCornerNine", "hotCorner", 9,
            [](const SettingsStore& s) { return s.hotCorner().get() == HotCorner::off; }},
        CorrectionCase{
            "hotCornerNegative", "hotCorner", -1,
            [](const SettingsStore& s) { return s.hotCorner().get() == HotCorner::off; }},
        CorrectionCase{
            "hotCornerFour", "hotCorner", 4,
            [](const SettingsStore& s) { return s.hotCorner().get() == HotCorner::bottomRight; }},
        CorrectionCase{"indicatorSeven", "borderIndicatorStyle", 7,
                       [](const SettingsStore& s) {
                           return s.borderIndicatorStyle().get() ==
                                  BorderIndicatorStyle::fullBorder;
                       }},
        CorrectionCase{"indicatorOne", "borderIndicatorStyle", 1,
                       [](const SettingsStore& s) {
                           return s.borderIndicatorStyle().get() ==
                                  BorderIndicatorStyle::cornerMarker;
                       }},
        CorrectionCase{"opacityZero", "borderOpacity", 0,
                       [](const SettingsStore& s) { return s.borderOpacity().get() == 0.2; }},
        CorrectionCase{"opacityThree", "borderOpacity", 3.0,
                       [](const SettingsStore& s) { return s.borderOpacity().get() == 1.0; }},
        CorrectionCase{"holdDurationWithinTheSliderTakenAsStored", "holdDuration", 2.6,
                       [](const SettingsStore& s) { return s.holdDuration().get() == 2.6; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreFixture, RegionShortcutsThatRepeatAnEarlierOneAreDroppedAndSavedAsNull) {
    storeDocument(Json{{"regionCoverCombo", comboJson(11, kCtrl | kCmd)},
                       {"regionClearCombo", comboJson(13, kCtrl | kCmd)},  // the focused default
                       {"bindings", Json::array({bindingJson(kBindingId, "Safari", "Bank",
                                                             KeyCombo{11, kCtrl | kCmd})})}});
    auto store = makeStore();
    EXPECT_EQ(store->regionCoverCombo().get(), std::nullopt);
    EXPECT_EQ(store->regionClearCombo().get(), std::nullopt);
    // Loading never writes; the corrected form reaches disk with the next change.
    EXPECT_EQ(storedDocument()["regionCoverCombo"], comboJson(11, kCtrl | kCmd));
    store->set(setting::useCover, true);
    EXPECT_TRUE(storedDocument()["regionCoverCombo"].is_null());
    EXPECT_TRUE(storedDocument()["regionClearCombo"].is_null());
}

TEST_F(StoreFixture, FirstLaunchUsesDefaultsAndWritesNothingUntilAChange) {
    auto store = makeStore();
    EXPECT_EQ(store->focusedCombo().get(), (KeyCombo{13, kCtrl | kCmd}));
    EXPECT_EQ(store->regionClearCombo().get(), (KeyCombo{7, kCtrl | kCmd}));
    EXPECT_TRUE(store->autoHideOnLock().get());
    EXPECT_EQ(store->coverMessage().get(), "Hidden by Nimbrel");
    EXPECT_FALSE(defaults.contains(SettingsStore::kDefaultsKey));

    store->set(setting::idleMinutes, 5);
    Json doc = storedDocument();
    const char* keys[] = {"focusedCombo",
                          "lockFocused",
                          "allCombo",
                          "designateCombo",
                          "focusModeCombo",
                          "regionCoverCombo",
                          "regionClearCombo",
                          "bindings",
                          "allowedApps",
                          "focusLock",
                          "holdDuration",
                          "idleMinutes",
                          "hideMenuBarIcon",
                          "autoHideOnMonitorChange",
                          "autoHideOnScreenShare",
                          "autoHideOnLock",
                          "relockMinutes",
                          "hotCorner",
                          "keywords",
                          "useCover",
                          "showBorders",
                          "borderIndicatorStyle",
                          "borderColorNormalHex",
                          "borderColorLockedHex",
                          "borderOpacity",
                          "coverMessage",
                          "instantHide",
                          "showDockIcon",
                          "savedCovers",
                          "askToRemoveMissing",
                          "screenChoice",
                          "screenChoiceName",
                          "hideWhenAppears",
                          "shortcutsVersion"};
    EXPECT_EQ(doc.size(), std::size(keys));
    for (const char* key : keys) {
        EXPECT_TRUE(doc.contains(key)) << key;
    }
    EXPECT_EQ(doc["shortcutsVersion"], 2);
    EXPECT_EQ(doc["coverMessage"], "");
}

}  // namespace
}  // namespace nimbrel::test

namespace nimbrel::test {
namespace {

// Whether a whole document decodes: a present key of the wrong type (anywhere inside it) fails
// it; missing optional keys never do.
struct DecodeCase {
    const char* name;
    Json document;
    bool decodes;
};

class DocumentDecoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DocumentDecoding, FailsWholeOnAnyWrongType) {
    EXPECT_EQ(Persisted::decode(GetParam().document).has_value(), GetParam().decodes);
}

Json bindingWithout(const char* key) {
    Json b = bindingJson("6F1C2D3E-4A5B-4C6D-8E7F-901A2B3C4D5E", "Safari", "Bank");
    b.erase(key);
    return Json{{"bindings", Json::array({b})}};
}

Json coverWith(Json region) {
    return Json{{"savedCovers", Json::array({Json{{"id", "6F1C2D3E-4A5B-4C6D-8E7F-901A2B3C4D5E"},
                                                  {"name", "Desk"},
                                                  {"regions", Json::array({region})}}})}};
}

INSTANTIATE_TEST_SUITE_P(
    Documents, DocumentDecoding,
    ::testing::Values(
        DecodeCase{"empty", Json::object(), true}, DecodeCase{"notAnObject", Json::array(), false},
        DecodeCase{"integralFloat", {{"idleMinutes", 5.0}}, true},
        DecodeCase{"fractionalInteger", {{"idleMinutes", 1.5}}, false},
        DecodeCase{"stringForNumber", {{"holdDuration", "1"}}, false},
        DecodeCase{"numberForBool", {{"useCover", 1}}, false},
        DecodeCase{"keywordNotAString", {{"keywords", Json::array({"a", 3})}}, false},
        DecodeCase{"comboMissingModifiers", {{"focusedCombo", Json{{"keyCode", 13}}}}, false},
        DecodeCase{"bindingWithoutLocked", bindingWithout("locked"), false},
        DecodeCase{"bindingWithoutTitle", bindingWithout("title"), false},
        DecodeCase{"bindingWithoutWholeApp", bindingWithout("wholeApp"), true},
        DecodeCase{"bindingWithBadId",
                   {{"bindings", Json::array({bindingJson("not-a-uuid", "Safari", "Bank")})}},
                   false},
        DecodeCase{"allowedAppWithoutName",
                   {{"allowedApps", Json::array({Json{{"bundleID", "x"}}})}},
                   false},
        DecodeCase{"windowNumberNegative",
                   {{"bindings", Json::array({Json{{"id", "6F1C2D3E-4A5B-4C6D-8E7F-901A2B3C4D5E"},
                                                   {"appName", "S"},
                                                   {"title", "B"},
                                                   {"locked", false},
                                                   {"windowNumber", -4}}})}},
                   false},
        DecodeCase{"freeRegion", coverWith(Json{{"rect", Json::parse("[[0,0],[10,10]]")}}), true},
        DecodeCase{"regionWithoutRect", coverWith(Json::object()), false},
        DecodeCase{"windowWithoutTitle",
                   coverWith(Json{{"window", Json{{"appName", "A"}}},
                                  {"rect", Json::parse("[[0,0],[10,10]]")}}),
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DocumentDecoding, MissingOptionalBindingKeysTakeTheirDefaults) {
    Json b{{"id", "6f1c2d3e-4a5b-4c6d-8e7f-901a2b3c4d5e"},
           {"appName", "Safari"},
           {"title", ""},
           {"locked", true},
           {"bundleID", nullptr}};
    auto doc = Persisted::decode(Json{{"bindings", Json::array({b})}});
    ASSERT_TRUE(doc);
    const WindowBinding& binding = doc->bindings.at(0);
    EXPECT_EQ(binding.id.string(), "6F1C2D3E-4A5B-4C6D-8E7F-901A2B3C4D5E");
    EXPECT_FALSE(binding.wholeApp);
    EXPECT_FALSE(binding.keepWhenMissing);
    EXPECT_EQ(binding.bundleID, std::nullopt);
    Json written = binding.toJson();
    EXPECT_FALSE(written.contains("bundleID"));
    EXPECT_FALSE(written.contains("combo"));
    EXPECT_EQ(written["wholeApp"], false);
    EXPECT_EQ(written["keepWhenMissing"], false);
}

}  // namespace
}  // namespace nimbrel::test
