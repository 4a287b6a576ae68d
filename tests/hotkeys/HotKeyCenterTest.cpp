#include <gtest/gtest.h>

#include "hotkeys/HotKeyCenter.h"
#include "platform/sim/SimHotKeys.h"
#include "platform/sim/SimMainLoop.h"

namespace nimbrel {
namespace {

constexpr KeyCombo kCtrlCmdW{13, 0x1100};
constexpr KeyCombo kCtrlCmdE{14, 0x1100};

class HotKeyCenterFixture : public ::testing::Test {
  protected:
    // Counts the actions of one registration.
    struct Counts {
        int presses = 0;
        int releases = 0;
    };
    bool add(const KeyCombo& combo, Counts& counts) {
        return center.registerHotKey(
            combo, [&counts] { ++counts.presses; }, [&counts] { ++counts.releases; });
    }

    sim::SimMainLoop loop;
    sim::SimHotKeys service{loop};
    HotKeyCenter center{service};
};

TEST_F(HotKeyCenterFixture, IdsCountFromOneKeepGrowingAndSkipRefusals) {
    Counts w, e;
    service.setTaken(kCtrlCmdE.keyCode, kCtrlCmdE.modifiers, true);
    EXPECT_TRUE(add(kCtrlCmdW, w));
    EXPECT_FALSE(add(kCtrlCmdE, e));
    EXPECT_EQ(center.nextID(), 2u) << "a refusal does not use up an id";
    ASSERT_EQ(service.registrations().size(), 1u);
    EXPECT_EQ(service.registrations()[0].identity, (HotKeyIdentity{0x54554D59, 1}));

    center.unregisterAll();
    EXPECT_TRUE(service.registrations().empty());
    service.setTaken(kCtrlCmdE.keyCode, kCtrlCmdE.modifiers, false);
    EXPECT_TRUE(add(kCtrlCmdE, e));
    EXPECT_EQ(service.registrations()[0].identity.id, 2u) << "ids are never reused";
}

TEST_F(HotKeyCenterFixture, AHeldKeyPressesOnceThroughAutoRepeatAndReleasesOnce) {
    Counts w;
    add(kCtrlCmdW, w);
    EXPECT_TRUE(service.keyDown(13, 0x1100));
    loop.runDue();
    EXPECT_EQ(w.presses, 1);
    EXPECT_TRUE(center.isHeld(1));
    loop.advance(2.0);  // the keyboard repeats the pressed event many times meanwhile
    EXPECT_EQ(w.presses, 1);
    EXPECT_EQ(w.releases, 0);
    EXPECT_TRUE(service.keyUp(13, 0));  // modifiers let go first: the key still ends the hot key
    loop.runDue();
    EXPECT_EQ(w.presses, 1);
    EXPECT_EQ(w.releases, 1);
    EXPECT_FALSE(center.isHeld(1));

    service.keyDown(13, 0x1100);
    loop.runDue();
    EXPECT_EQ(w.presses, 2) << "a new press after the release counts again";
}

TEST_F(HotKeyCenterFixture, AReleaseWithoutItsPressStillReleases) {
    Counts w;
    add(kCtrlCmdW, w);
    EXPECT_TRUE(service.keyUp(13, 0x1100));
    loop.runDue();
    EXPECT_EQ(w.presses, 0);
    EXPECT_EQ(w.releases, 1);
}

TEST_F(HotKeyCenterFixture, ALateEventOfAClearedRegistrationFindsNoHandler) {
    Counts old, fresh;
    add(kCtrlCmdW, old);
    service.keyDown(13, 0x1100);  // queued, not yet delivered
    center.unregisterAll();
    add(kCtrlCmdW, fresh);
    loop.runDue();
    EXPECT_EQ(old.presses, 0);
    EXPECT_EQ(fresh.presses, 0) << "the event carries the old id";
}

TEST_F(HotKeyCenterFixture, APressActionMayClearAndRefillTheCenter) {
    Counts replacement;
    int presses = 0;
    center.registerHotKey(
        kCtrlCmdW,
        [&] {
            ++presses;
            center.unregisterAll();
            add(kCtrlCmdE, replacement);
        },
        nullptr);
    service.keyDown(13, 0x1100);
    loop.runDue();
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(center.registrationCount(), 1u);
    EXPECT_FALSE(service.keyUp(13, 0x1100)) << "W is no longer registered";
    loop.runDue();
    EXPECT_EQ(replacement.releases, 0);
}

TEST(HotKeyCenterLifetime, EventsQueuedForADestroyedCenterAreDropped) {
    sim::SimMainLoop loop;
    sim::SimHotKeys service{loop};
    int presses = 0;
    {
        HotKeyCenter center{service};
        center.registerHotKey(
            kCtrlCmdW, [&] { ++presses; }, nullptr);
        service.keyDown(13, 0x1100);
        EXPECT_TRUE(service.registrations().empty() == false);
    }
    EXPECT_TRUE(service.registrations().empty()) << "the center takes its hot keys with it";
    loop.runDue();
    EXPECT_EQ(presses, 0);
}

}  // namespace
}  // namespace nimbrel
