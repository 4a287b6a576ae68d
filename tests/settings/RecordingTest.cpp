#include "StoreFixture.h"

namespace nimbrel::test {
namespace {

using Kind = ShortcutTarget::Kind;
const ShortcutTarget kFocused = ShortcutTarget::fixed(Kind::focused);
const ShortcutTarget kAll = ShortcutTarget::fixed(Kind::all);
const ShortcutTarget kDesignate = ShortcutTarget::fixed(Kind::designate);

// One key pressed while the focused-window shortcut (⌃⌘W) is being recorded.
struct RecordCase {
    const char* name;
    std::uint32_t keyCode;
    EventModifierFlags flags;
    std::optional<KeyCombo> assigned;  // the focused shortcut afterwards
    bool stillRecording;
    bool needModifierNotice;  // and a beep
};

class RecordingKeys : public StoreFixture, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordingKeys, AssignClearRefuseOrCancel) {
    const auto& c = GetParam();
    auto store = makeStore();
    int announced = 0;
    store->onShortcutsChanged = [&] { ++announced; };
    store->startRecording(kFocused);
    EXPECT_EQ(announced, 1);
    EXPECT_TRUE(press(c.keyCode, c.flags)) << "the recorder consumes every key";
    EXPECT_EQ(store->focusedCombo().get(), c.assigned);
    EXPECT_EQ(store->recording().get().has_value(), c.stillRecording);
    EXPECT_EQ(store->hasKeyMonitor(), c.stillRecording);
    EXPECT_EQ(announced, c.stillRecording ? 1 : 2);
    EXPECT_EQ(sound.beeps, c.needModifierNotice ? 1 : 0);
    if (c.needModifierNotice) {
        EXPECT_EQ(store->notice().get(), "Use ⌃, ⌥ or ⌘ with the key, or an F-key.");
    } else {
        EXPECT_EQ(store->notice().get(), std::nullopt);
    }
}

constexpr KeyCombo kDefaultFocused{13, kCtrl | kCmd};

INSTANTIATE_TEST_SUITE_P(
    Keys, RecordingKeys,
    ::testing::Values(RecordCase{"f5Alone", 96, 0, KeyCombo{96, 0}, false, false},
                      RecordCase{"letterAlone", 0, 0, kDefaultFocused, true, true},
                      RecordCase{"shiftLetter", 0, EventModifierFlags(EventModifier::shift),
                                 kDefaultFocused, true, true},
                      RecordCase{"optionLetter", 0, EventModifierFlags(EventModifier::option),
                                 KeyCombo{0, kOpt}, false, false},
                      RecordCase{"deleteClears", 51, 0, std::nullopt, false, false},
                      RecordCase{"forwardDeleteClears", 117, 0, std::nullopt, false, false},
                      RecordCase{"commandDeleteIsAShortcut", 51,
                                 EventModifierFlags(EventModifier::command), KeyCombo{51, kCmd},
                                 false, false},
                      RecordCase{"escapeCancels", 53, 0, kDefaultFocused, false, false},
                      // Caps lock is not a modifier: Delete with caps lock on still clears.
                      RecordCase{"capsLockDelete", 51, EventModifierFlags(EventModifier::capsLock),
                                 std::nullopt, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreFixture, WithoutARecordingKeysPassThroughUntouched) {
    auto store = makeStore();
    EXPECT_FALSE(press(0, 0));
    store->startRecording(kFocused);
    store->stopRecording();
    EXPECT_FALSE(store->hasKeyMonitor());
    EXPECT_FALSE(press(0, EventModifier::control | EventModifier::command));
    EXPECT_EQ(store->focusedCombo().get(), (KeyCombo{13, kCtrl | kCmd}));
}

TEST_F(StoreFixture, ACombinationInUseIsRefusedWithBothTextsAndRecordingGoesOn) {
    auto store = makeStore();
    store->startRecording(kFocused);
    // ⌃⌘E is the all-windows default.
    EXPECT_TRUE(press(14, EventModifier::control | EventModifier::command));
    EXPECT_EQ(store->notice().get(), "⌃⌘E is already used by “Hide all windows”.");
    EXPECT_EQ(sound.beeps, 1);
    EXPECT_EQ(store->recording().get(), kFocused);
    EXPECT_EQ(store->focusedCombo().get(), (KeyCombo{13, kCtrl | kCmd}));

    // The user tries again; success clears the notice.
    EXPECT_TRUE(press(17, EventModifier::control | EventModifier::command));
    EXPECT_EQ(store->focusedCombo().get(), (KeyCombo{17, kCtrl | kCmd}));
    EXPECT_EQ(store->notice().get(), std::nullopt);
}

TEST_F(StoreFixture, RecordingAWindowsOwnShortcutAgainIsAccepted) {
    auto store = makeStore();
    Uuid id = store->designate({{"com.bank", "Bank"}, 7, "Account"});
    ShortcutTarget window = ShortcutTarget::window(id);
    store->assign(KeyCombo{11, kCtrl | kOpt}, window);
    store->startRecording(window);
    press(11, EventModifier::control | EventModifier::option);
    EXPECT_EQ(store->recording().get(), std::nullopt);
    EXPECT_EQ(sound.beeps, 0);
    EXPECT_EQ(store->combo(window), (KeyCombo{11, kCtrl | kOpt}));
    EXPECT_EQ(store->conflictingTarget(KeyCombo{11, kCtrl | kOpt}), window);
}

TEST_F(StoreFixture, RetargetingKeepsOneMonitorAndRemovingTheBindingEndsTheRecording) {
    auto store = makeStore();
    Uuid id = store->designate({{"com.bank", "Bank"}, 7, "Account"});
    store->startRecording(kFocused);
    store->startRecording(ShortcutTarget::window(id));
    EXPECT_EQ(keyMonitor.monitorCount(), 1u);
    int announced = 0;
    store->onShortcutsChanged = [&] { ++announced; };
    store->removeBinding(id);
    EXPECT_EQ(store->recording().get(), std::nullopt);
    EXPECT_EQ(keyMonitor.monitorCount(), 0u);
    EXPECT_EQ(announced, 2);  // the recording ended, and the binding went
}

TEST_F(StoreFixture, TheKeyMonitorOutlivingTheStoreDoesNothing) {
    auto store = makeStore();
    store->startRecording(kFocused);
    store.reset();
    EXPECT_FALSE(press(96, 0));
}

TEST_F(StoreFixture, AssigningToAVanishedBindingWritesNothing) {
    auto store = makeStore();
    store->assign(KeyCombo{11, kCmd}, ShortcutTarget::window(Uuid{}));
    EXPECT_FALSE(defaults.contains(SettingsStore::kDefaultsKey));
    EXPECT_EQ(store->name(ShortcutTarget::window(Uuid{})), "Designated window");
    EXPECT_EQ(store->combo(ShortcutTarget::window(Uuid{})), std::nullopt);
}

TEST_F(StoreFixture, APresetSkipsACandidateThatABindingHoldsAndListsIt) {
    auto store = makeStore();
    Uuid id = store->designate({{"com.bank", "Bank"}, 7, "Account"});
    store->assign(KeyCombo{1, kCtrl | kOpt | kCmd}, ShortcutTarget::window(id));  // ⌃⌥⌘S
    store->assign(KeyCombo{99, 0}, ShortcutTarget::fixed(Kind::focusMode));       // F3 alone
    store->startRecording(kAll);
    int announced = 0;
    store->onShortcutsChanged = [&] { ++announced; };

    store->applyModifierPreset(0x1900);
    EXPECT_EQ(store->recording().get(), std::nullopt);
    EXPECT_EQ(store->designateCombo().get(), (KeyCombo{1, kCtrl | kCmd}));
    EXPECT_EQ(store->focusedCombo().get(), (KeyCombo{13, kCtrl | kOpt | kCmd}));
    EXPECT_EQ(store->allCombo().get(), (KeyCombo{14, kCtrl | kOpt | kCmd}));
    EXPECT_EQ(store->regionClearCombo().get(), (KeyCombo{7, kCtrl | kOpt | kCmd}));
    EXPECT_EQ(store->focusModeCombo().get(), (KeyCombo{99, 0})) << "an unmodified F-key stays";
    EXPECT_EQ(store->notice().get(), "Kept, already in use: ⌃⌥⌘S");
    EXPECT_EQ(announced, 2);  // the recording ended, then the preset
    EXPECT_EQ(store->combo(ShortcutTarget::window(id)), (KeyCombo{1, kCtrl | kOpt | kCmd}));
    EXPECT_EQ(store->currentPresetModifiers(), std::nullopt) << "⌃⌘S and ⌃⌥⌘ differ";
}

TEST_F(StoreFixture, CurrentPresetIsTheOneSharedMask) {
    auto store = makeStore();
    EXPECT_EQ(store->currentPresetModifiers(), 0x1100u);
    store->assign(KeyCombo{14, kCtrl | kShift | kCmd}, kAll);
    EXPECT_EQ(store->currentPresetModifiers(), std::nullopt);
    store->applyModifierPreset(0x1100);
    EXPECT_EQ(store->notice().get(), std::nullopt);
    EXPECT_EQ(store->currentPresetModifiers(), 0x1100u);
    // Cleared and unmodified shortcuts do not count.
    store->assign(std::nullopt, kDesignate);
    store->assign(KeyCombo{99, 0}, kFocused);
    EXPECT_EQ(store->currentPresetModifiers(), 0x1100u);
}

}  // namespace
}  // namespace nimbrel::test
