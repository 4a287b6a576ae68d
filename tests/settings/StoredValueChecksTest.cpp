#include <cmath>
#include <functional>
#include <limits>

#include "StoreFixture.h"

namespace nimbrel::test {
namespace {

constexpr const char* kLowerId = "6f1c2d3e-4a5b-4c6d-8e7f-901a2b3c4d5e";
constexpr const char* kUpperId = "6F1C2D3E-4A5B-4C6D-8E7F-901A2B3C4D5E";

Json rectJson(double x, double y, double width, double height) {
    return Json::array({Json::array({x, y}), Json::array({width, height})});
}

Json coverJson(const std::string& id, const std::string& name, Json regions) {
    return Json{{"id", id}, {"name", name}, {"regions", std::move(regions)}};
}

Json freeRegion(double width, double height) {
    return Json{{"rect", rectJson(10, 20, width, height)}};
}

// A value of the right type that no control of the settings window could have set: corrected
// where a correction is defined, else read as absent, so that its default applies. The rest of
// the document is read as stored.
struct ValueCase {
    const char* name;
    Json document;
    std::function<bool(const SettingsStore&)> holds;
};

class StoredValueChecks : public StoreFixture, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(StoredValueChecks, ReadWhatTheRuleAllowsAndKeepTheRest) {
    Json doc = GetParam().document;
    doc["useCover"] = true;  // a neighbour that must survive
    storeDocument(doc);
    auto store = makeStore();
    EXPECT_TRUE(GetParam().holds(*store));
    EXPECT_TRUE(store->useCover().get()) << "one bad value must not cost the whole document";
}

bool holdIs(const SettingsStore& s, double seconds) {
    return s.holdDuration().get() == seconds;
}

KeyCombo ctrlCmd(std::uint32_t keyCode) {
    return KeyCombo{keyCode, kCtrl | kCmd};
}

INSTANTIATE_TEST_SUITE_P(
    Documents, StoredValueChecks,
    ::testing::Values(
        ValueCase{"holdNegative",
                  {{"holdDuration", -2.5}},
                  [](const SettingsStore& s) { return holdIs(s, 1.0); }},
        ValueCase{"holdZero",
                  {{"holdDuration", 0}},
                  [](const SettingsStore& s) { return holdIs(s, 1.0); }},
        ValueCase{"holdBelowTheSlider",
                  {{"holdDuration", 0.05}},
                  [](const SettingsStore& s) { return holdIs(s, 1.0); }},
        ValueCase{"holdHuge",
                  {{"holdDuration", 1e300}},
                  [](const SettingsStore& s) { return holdIs(s, 1.0); }},
        ValueCase{"holdEndsOfTheSlider",
                  {{"holdDuration", 3.0}},
                  [](const SettingsStore& s) { return holdIs(s, 3.0); }},
        ValueCase{"holdBetweenSliderSteps",
                  {{"holdDuration", 0.6}},
                  [](const SettingsStore& s) { return holdIs(s, 0.6); }},
        ValueCase{"idleNegative",
                  {{"idleMinutes", -5}},
                  [](const SettingsStore& s) { return s.idleMinutes().get() == 0; }},
        ValueCase{"idleHuge",
                  {{"idleMinutes", 9000000000000000000LL}},
                  [](const SettingsStore& s) { return s.idleMinutes().get() == 0; }},
        ValueCase{"idleLongestChoice",
                  {{"idleMinutes", 30}},
                  [](const SettingsStore& s) { return s.idleMinutes().get() == 30; }},
        ValueCase{"relockNegative",
                  {{"relockMinutes", -1}},
                  [](const SettingsStore& s) { return s.relockMinutes().get() == 0; }},
        ValueCase{"relockBeyondTheLongestChoice",
                  {{"relockMinutes", 31}},
                  [](const SettingsStore& s) { return s.relockMinutes().get() == 0; }},
        // A plain key as a global hot key would take that key from every application.
        ValueCase{"shortcutWithoutModifiers",
                  {{"focusedCombo", comboJson(0, 0)}},
                  [](const SettingsStore& s) { return s.focusedCombo().get() == ctrlCmd(13); }},
        ValueCase{"shortcutWithShiftAlone",
                  {{"allCombo", comboJson(14, kShift)}},
                  [](const SettingsStore& s) { return s.allCombo().get() == ctrlCmd(14); }},
        ValueCase{"functionKeyAloneIsAShortcut",
                  {{"designateCombo", comboJson(99, 0)}},
                  [](const SettingsStore& s) {
                      return s.designateCombo().get() == KeyCombo{99, 0};
                  }},
        // The default it would take is already another's: no shortcut rather than a conflict.
        ValueCase{"shortcutWhoseDefaultABindingHolds",
                  {{"focusedCombo", comboJson(13, 0)},
                   {"bindings", Json::array({bindingJson(kUpperId, "Bank", "", ctrlCmd(13))})}},
                  [](const SettingsStore& s) {
                      return s.focusedCombo().get() == std::nullopt &&
                             s.bindings().get().at(0).combo == ctrlCmd(13);
                  }},
        // Read as absent, region clear follows the others' modifiers as a missing one does.
        ValueCase{"regionClearWithoutModifiers",
                  {{"focusedCombo", comboJson(13, kCtrl | kOpt)},
                   {"allCombo", comboJson(14, kCtrl | kOpt)},
                   {"designateCombo", comboJson(1, kCtrl | kOpt)},
                   {"focusModeCombo", comboJson(2, kCtrl | kOpt)},
                   {"regionCoverCombo", comboJson(15, kCtrl | kOpt)},
                   {"regionClearCombo", comboJson(7, 0)}},
                  [](const SettingsStore& s) {
                      return s.regionClearCombo().get() == KeyCombo{7, kCtrl | kOpt};
                  }},
        // A binding has no default shortcut: it stays, without one.
        ValueCase{"bindingShortcutWithoutModifiers",
                  {{"bindings", Json::array({bindingJson(kUpperId, "Bank", "", KeyCombo{0, 0})})}},
                  [](const SettingsStore& s) {
                      return s.bindings().get().size() == 1 &&
                             s.bindings().get()[0].combo == std::nullopt;
                  }},
        ValueCase{
            "coverRegionNegativeWidth",
            {{"savedCovers",
              Json::array({coverJson(kUpperId, "Desk",
                                     Json::array({freeRegion(-40, 30), freeRegion(40, 30)}))})}},
            [](const SettingsStore& s) {
                const auto& covers = s.savedCovers().get();
                return covers.size() == 1 && covers[0].regions.size() == 1 &&
                       covers[0].regions[0].rect == Rect(10, 20, 40, 30);
            }},
        ValueCase{
            "coverRegionHuge",
            {{"savedCovers",
              Json::array({coverJson(kUpperId, "Desk",
                                     Json::array({freeRegion(1e12, 30), freeRegion(40, 30)}))})}},
            [](const SettingsStore& s) { return s.savedCovers().get().at(0).regions.size() == 1; }},
        ValueCase{
            "coverRegionFarOffEveryScreen",
            {{"savedCovers",
              Json::array({coverJson(kUpperId, "Desk",
                                     Json::array({Json{{"rect", rectJson(-1e200, 0, 40, 30)}},
                                                  freeRegion(40, 30)}))})}},
            [](const SettingsStore& s) { return s.savedCovers().get().at(0).regions.size() == 1; }},
        ValueCase{"coverLeftWithoutRegions",
                  {{"savedCovers",
                    Json::array({coverJson(kUpperId, "Empty", Json::array({freeRegion(0, 30)})),
                                 coverJson("00000000-0000-0000-0000-000000000009", "Desk",
                                           Json::array({freeRegion(40, 30)}))})}},
                  [](const SettingsStore& s) {
                      const auto& covers = s.savedCovers().get();
                      return covers.size() == 1 && covers[0].name == "Desk";
                  }},
        ValueCase{
            "coversWhoseIdsDifferInCase",
            {{"savedCovers",
              Json::array({coverJson(kLowerId, "First", Json::array({freeRegion(40, 30)})),
                           coverJson(kUpperId, "Second", Json::array({freeRegion(50, 30)}))})}},
            [](const SettingsStore& s) {
                const auto& covers = s.savedCovers().get();
                return covers.size() == 1 && covers[0].name == "First";
            }}),
    [](const auto& info) { return std::string(info.param.name); });

// Ids are read in either letter case. Two bindings whose ids differ only in case are one id: the
// second is dropped, so that every lookup and every removal means the one that stays.
TEST_F(StoreFixture, BindingsWhoseIdsDifferOnlyInCaseKeepTheFirst) {
    const KeyCombo first{18, kCtrl | kOpt};   // 1
    const KeyCombo second{19, kCtrl | kOpt};  // 2
    storeDocument(
        Json{{"bindings", Json::array({bindingJson(kLowerId, "Bank", "Login", first),
                                       bindingJson(kUpperId, "Mail", "Inbox", second)})}});
    auto store = makeStore();
    ASSERT_EQ(store->bindings().get().size(), 1u);
    const WindowBinding kept = store->bindings().get()[0];
    EXPECT_EQ(kept.appName, "Bank");
    EXPECT_EQ(store->combo(ShortcutTarget::window(kept.id)), first);
    EXPECT_EQ(store->conflictingTarget(second), std::nullopt) << "the dropped shortcut is free";

    store->removeBinding(kept.id);
    EXPECT_TRUE(store->bindings().get().empty());
    EXPECT_EQ(storedDocument()["bindings"], Json::array());
}

TEST_F(StoreFixture, AnOverflowingNumberMakesTheDocumentUnreadable) {
    // No finite number stands for it; like any damage, the document is kept aside.
    std::string bytes = R"({"holdDuration":1e400,"useCover":true})";
    defaults.setData(SettingsStore::kDefaultsKey, bytes);
    auto store = makeStore();
    EXPECT_FALSE(store->useCover().get());
    EXPECT_EQ(store->holdDuration().get(), 1.0);
    store->set(setting::instantHide, false);
    EXPECT_EQ(defaults.data(SettingsStore::kUnreadableKey), bytes);
}

// The settings window offers no such values; a setter that is handed one changes nothing.
TEST_F(StoreFixture, SettersRefuseWhatNoControlOffers) {
    auto store = makeStore();
    store->set(setting::holdDuration, 2.0);
    store->set(setting::idleMinutes, 5);
    std::string saved = *defaults.data(SettingsStore::kDefaultsKey);
    int triggers = 0;
    store->onTriggersChanged = [&] { ++triggers; };

    const std::pair<const char*, std::function<void(SettingsStore&)>> refused[] = {
        {"holdNegative", [](SettingsStore& s) { s.set(setting::holdDuration, -1.0); }},
        {"holdInfinite",
         [](SettingsStore& s) {
             s.set(setting::holdDuration, std::numeric_limits<double>::infinity());
         }},
        {"holdNotANumber", [](SettingsStore& s) { s.set(setting::holdDuration, std::nan("")); }},
        {"idleNegative", [](SettingsStore& s) { s.set(setting::idleMinutes, -1); }},
        {"relockHuge", [](SettingsStore& s) { s.set(setting::relockMinutes, 1LL << 40); }},
        {"opacityNotANumber",
         [](SettingsStore& s) { s.set(setting::borderOpacity, std::nan("")); }},
        {"plainKeyShortcut",
         [](SettingsStore& s) {
             s.assign(KeyCombo{0, 0}, ShortcutTarget::fixed(ShortcutTarget::Kind::focused));
         }},
    };
    for (const auto& [name, change] : refused) {
        SCOPED_TRACE(name);
        change(*store);
        EXPECT_EQ(defaults.data(SettingsStore::kDefaultsKey), saved);
    }
    EXPECT_EQ(store->holdDuration().get(), 2.0);
    EXPECT_EQ(store->idleMinutes().get(), 5);
    EXPECT_EQ(store->focusedCombo().get(), ctrlCmd(13));
    EXPECT_EQ(triggers, 0);
}

}  // namespace
}  // namespace nimbrel::test
