#include <gtest/gtest.h>

#include "hotkeys/ShortcutRegistration.h"
#include "platform/sim/SimHotKeys.h"
#include "platform/sim/SimMainLoop.h"
#include "settings/StoreFixture.h"

namespace nimbrel::test {
namespace {

using Kind = ShortcutTarget::Kind;

class RegistrationPass : public StoreFixture {
  protected:
    std::vector<ShortcutTarget> pressed;
    ShortcutRegistration::ActionsFor actions() {
        return [this](const ShortcutTarget& target) {
            return ShortcutRegistration::Actions{[this, target] { pressed.push_back(target); },
                                                 nullptr};
        };
    }
    std::vector<std::uint32_t> registeredKeyCodes() const {
        std::vector<std::uint32_t> codes;
        for (const auto& r : service.registrations()) {
            codes.push_back(r.keyCode);
        }
        return codes;
    }

    sim::SimMainLoop loop;
    sim::SimHotKeys service{loop};
    HotKeyCenter center{service};
};

TEST_F(RegistrationPass, ARefusedCombinationIsReportedWhileTheOthersRegisterInOrder) {
    auto store = makeStore();
    Uuid first = store->designate({{"com.a", "A"}, 1, "One"});
    Uuid second = store->designate({{"com.b", "B"}, 2, "Two"});
    store->assign(KeyCombo{18, kCtrl | kOpt}, ShortcutTarget::window(first));
    store->assign(KeyCombo{19, kCtrl | kOpt}, ShortcutTarget::window(second));
    store->assign(std::nullopt, ShortcutTarget::fixed(Kind::focusMode));
    service.setTaken(14, kCtrl | kCmd, true);  // another application holds ⌃⌘E
    service.setTaken(18, kCtrl | kOpt, true);

    auto failures = ShortcutRegistration::run(center, *store, actions());
    std::set<ShortcutTarget> expected{ShortcutTarget::fixed(Kind::all),
                                      ShortcutTarget::window(first)};
    EXPECT_EQ(failures, expected);
    EXPECT_EQ(store->unavailable().get(), expected);
    // focused W, designate S, region cover R, region clear X, then the second binding's 2.
    EXPECT_EQ(registeredKeyCodes(), (std::vector<std::uint32_t>{13, 1, 15, 7, 19}));
    std::vector<std::uint32_t> ids;
    for (const auto& r : service.registrations()) {
        ids.push_back(r.identity.id);
    }
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));

    service.keyDown(19, kCtrl | kOpt);
    service.keyDown(13, kCtrl | kCmd);
    loop.runDue();
    EXPECT_EQ(pressed, (std::vector<ShortcutTarget>{ShortcutTarget::window(second),
                                                    ShortcutTarget::fixed(Kind::focused)}));

    // The other application lets go; the next pass clears the old registrations first.
    service.setTaken(14, kCtrl | kCmd, false);
    EXPECT_EQ(ShortcutRegistration::run(center, *store, actions()),
              std::set<ShortcutTarget>{ShortcutTarget::window(first)});
    EXPECT_EQ(service.registrations().size(), 6u);
    EXPECT_EQ(service.registrations().front().identity.id, 6u);
}

TEST_F(RegistrationPass, NoShortcutIsLiveWhileOneIsBeingRecorded) {
    auto store = makeStore();
    store->onShortcutsChanged = [&] { ShortcutRegistration::run(center, *store, actions()); };
    store->onShortcutsChanged();
    EXPECT_EQ(service.registrations().size(), 6u);

    store->startRecording(ShortcutTarget::fixed(Kind::focused));
    EXPECT_TRUE(service.registrations().empty());
    EXPECT_FALSE(service.keyDown(14, kCtrl | kCmd)) << "the keys reach the program's window";
    EXPECT_TRUE(press(14, EventModifier::control | EventModifier::option));  // ⌃⌥E
    EXPECT_EQ(service.registrations().size(), 6u);
    EXPECT_TRUE(service.keyDown(14, kCtrl | kOpt));
    loop.runDue();
    EXPECT_EQ(pressed, std::vector<ShortcutTarget>{ShortcutTarget::fixed(Kind::focused)});
}

}  // namespace
}  // namespace nimbrel::test
