#include <gtest/gtest.h>

#include "platform/sim/SimKeyboardLayout.h"
#include "settings/KeyCombo.h"
#include "settings/KeyNames.h"

namespace nimbrel {
namespace {

constexpr std::uint32_t kCmd = KeyCombo::kCommand;
constexpr std::uint32_t kShift = KeyCombo::kShift;
constexpr std::uint32_t kOpt = KeyCombo::kOption;
constexpr std::uint32_t kCtrl = KeyCombo::kControl;

struct DisplayCase {
    const char* name;
    KeyCombo combo;
    const char* text;
};

class KeyComboDisplay : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(KeyComboDisplay, ShowsModifiersInOrderThenTheKeyName) {
    sim::SimKeyboardLayout layout;
    EXPECT_EQ(GetParam().combo.displayText(layout), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, KeyComboDisplay,
    ::testing::Values(DisplayCase{"controlOptionSpace", {49, kCtrl | kOpt}, "⌃⌥Space"},
                      DisplayCase{"commandReturn", {36, kCmd}, "⌘↩"},
                      // The symbols follow display order, not the order of the bits.
                      DisplayCase{"allFour", {13, kCmd | kShift | kOpt | kCtrl}, "⌃⌥⇧⌘W"},
                      DisplayCase{"functionKeyAlone", {96, 0}, "F5"},
                      DisplayCase{"f20", {90, kCtrl}, "⌃F20"},
                      DisplayCase{"letterFromLayout", {0, kCmd}, "⌘A"},
                      DisplayCase{"punctuationFromLayout", {41, kOpt}, "⌥;"},
                      DisplayCase{"keypadDigit", {83, kCmd}, "⌘1"},
                      DisplayCase{"forwardDelete", {117, kCmd}, "⌘⌦"},
                      DisplayCase{"untranslatable", {110, kCmd}, "⌘#110"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyComboDisplay, AnUnreadableLayoutFallsBackToTheCode) {
    sim::SimKeyboardLayout layout;
    layout.setUnreadable(true);
    EXPECT_EQ((KeyCombo{13, kCtrl | kCmd}.displayText(layout)), "⌃⌘#13");
    // Fixed names never depend on the layout.
    EXPECT_EQ((KeyCombo{122, 0}.displayText(layout)), "F1");
}

TEST(KeyComboMenuEquivalent, LowerCasedLayoutTextExceptForNamedKeys) {
    sim::SimKeyboardLayout layout;
    EXPECT_EQ((KeyCombo{13, kCtrl | kCmd}.menuKeyEquivalent(layout)), "w");
    EXPECT_EQ((KeyCombo{43, kCmd}.menuKeyEquivalent(layout)), ",");
    EXPECT_EQ((KeyCombo{49, kCmd}.menuKeyEquivalent(layout)), std::nullopt);
    EXPECT_EQ((KeyCombo{36, kCmd}.menuKeyEquivalent(layout)), std::nullopt);
    EXPECT_EQ((KeyCombo{99, 0}.menuKeyEquivalent(layout)), std::nullopt);
    EXPECT_EQ((KeyCombo{110, kCmd}.menuKeyEquivalent(layout)), std::nullopt);
}

struct ValidityCase {
    const char* name;
    KeyCombo combo;
    bool valid;
};

class KeyComboValidity : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(KeyComboValidity, NeedsControlOptionOrCommandUnlessAnFKey) {
    EXPECT_EQ(GetParam().combo.isValidShortcut(), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Rules, KeyComboValidity,
                         ::testing::Values(ValidityCase{"letterAlone", {0, 0}, false},
                                           ValidityCase{"shiftLetter", {0, kShift}, false},
                                           ValidityCase{"optionLetter", {0, kOpt}, true},
                                           ValidityCase{"controlLetter", {0, kCtrl}, true},
                                           ValidityCase{"commandDelete", {51, kCmd}, true},
                                           ValidityCase{"f5Alone", {96, 0}, true},
                                           ValidityCase{"shiftF13", {105, kShift}, true},
                                           ValidityCase{"spaceAlone", {49, 0}, false},
                                           ValidityCase{"shiftSpace", {49, kShift}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeyComboEvents, ModifierFlagsMapBothWaysAndIgnoreCapsLockFunctionAndKeypad) {
    KeyEvent event{13,
                   EventModifier::control | EventModifier::command | EventModifier::capsLock |
                       EventModifier::function | EventModifier::numericPad,
                   false};
    KeyCombo combo = KeyCombo::fromEvent(event);
    EXPECT_EQ(combo, (KeyCombo{13, kCtrl | kCmd}));
    EXPECT_EQ(combo.eventModifierFlags(), EventModifier::control | EventModifier::command);
    EXPECT_EQ(KeyCombo::modifiersFromEventFlags(EventModifier::shift | EventModifier::option),
              kShift | kOpt);
    EXPECT_EQ(KeyCombo::modifierSymbols(0), "");
}

TEST(KeyComboJson, BothKeysAreRequiredIntegers) {
    EXPECT_EQ(KeyCombo::fromJson(Json{{"keyCode", 13}, {"modifiers", 4352}}),
              (KeyCombo{13, 0x1100}));
    EXPECT_EQ((KeyCombo{13, 0x1100}.toJson()), (Json{{"keyCode", 13}, {"modifiers", 4352}}));
    EXPECT_FALSE(KeyCombo::fromJson(Json{{"keyCode", 13}}));
    EXPECT_FALSE(KeyCombo::fromJson(Json{{"keyCode", "13"}, {"modifiers", 0}}));
    EXPECT_FALSE(KeyCombo::fromJson(Json{{"keyCode", 13.5}, {"modifiers", 0}}));
    EXPECT_FALSE(KeyCombo::fromJson(Json{{"keyCode", -1}, {"modifiers", 0}}));
    EXPECT_FALSE(KeyCombo::fromJson(Json{{"keyCode", 4294967296LL}, {"modifiers", 0}}));
    EXPECT_FALSE(KeyCombo::fromJson(Json::array()));
}

}  // namespace
}  // namespace nimbrel

namespace nimbrel {
namespace {

struct ConsoleComboCase {
    const char* name;
    const char* text;
    std::optional<KeyCombo> combo;
};

class ConsoleComboNames : public ::testing::TestWithParam<ConsoleComboCase> {};

TEST_P(ConsoleComboNames, ReadTheDesktopsKeyNames) {
    auto parsed = sim::SimKeyboardLayout::parseCombo(GetParam().text);
    ASSERT_EQ(parsed.has_value(), GetParam().combo.has_value());
    if (parsed) {
        KeyCombo combo{parsed->keyCode, parsed->modifiers};
        EXPECT_EQ(combo, *GetParam().combo);
        EXPECT_EQ(KeyCombo::modifiersFromEventFlags(parsed->eventFlags), parsed->modifiers);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConsoleComboNames,
    ::testing::Values(ConsoleComboCase{"ctrlCmdW", "ctrl+cmd+w", KeyCombo{13, 0x1100}},
                      ConsoleComboCase{"optF5", "opt+f5", KeyCombo{96, 0x800}},
                      ConsoleComboCase{"cmdDelete", "cmd+delete", KeyCombo{51, 0x100}},
                      ConsoleComboCase{"shiftDigit", "shift+7", KeyCombo{26, 0x200}},
                      ConsoleComboCase{"bareF20", "f20", KeyCombo{90, 0}},
                      ConsoleComboCase{"fwdDelete", "fwd-delete", KeyCombo{117, 0}},
                      ConsoleComboCase{"upperCase", "CTRL+PgDown", KeyCombo{121, 0x1000}},
                      ConsoleComboCase{"f21", "f21", std::nullopt},
                      ConsoleComboCase{"unknownModifier", "hyper+w", std::nullopt},
                      ConsoleComboCase{"noKey", "ctrl+", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimbrel
