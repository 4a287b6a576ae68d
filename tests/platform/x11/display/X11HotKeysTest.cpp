#include "platform/x11/X11HotKeys.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>
#include <vector>

#include "platform/x11/X11KeyboardLayout.h"
#include "platform/x11/display/TestClient.h"

namespace nimbrel::test {
namespace {

using x11::Connection;

constexpr std::uint32_t kW = 13;
constexpr std::uint32_t kS = 1;
constexpr std::uint32_t kControlCommand = 0x1000 | 0x100;

class X11HotKeysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        connection = Connection::open();
        ASSERT_NE(connection, nullptr) << "no X server at DISPLAY";
        events.emplace(*connection);
        hotKeys.emplace(*connection, *events);
        handler = hotKeys->installHandler([this](HotKeyEventKind kind, HotKeyIdentity identity) {
            heard.emplace_back(kind, identity.id);
        });
    }

    // Types through the server's input path and waits until the program has heard `count` events.
    bool typed(const char* keys, std::size_t count) {
        if (std::system((std::string("xdotool ") + keys).c_str()) != 0) {
            return false;
        }
        return eventually(*connection, [&] {
            events->drain();
            return heard.size() >= count;
        });
    }

    // Types and makes sure the program heard nothing. xdotool has flushed its keys when it ends,
    // so a short look is enough; waiting out `typed` would cost seconds per check.
    bool typedUnheard(const char* keys) {
        if (std::system((std::string("xdotool ") + keys).c_str()) != 0) {
            return false;
        }
        for (int i = 0; i < 20; ++i) {
            xcb_aux_sync(connection->get());
            events->drain();
            if (!heard.empty()) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    std::unique_ptr<Connection> connection;
    std::optional<x11::EventHub> events;
    std::optional<x11::X11HotKeys> hotKeys;
    Subscription handler;
    std::vector<std::pair<HotKeyEventKind, std::uint32_t>> heard;
};

using Heard = std::vector<std::pair<HotKeyEventKind, std::uint32_t>>;

TEST_F(X11HotKeysTest, AGrabbedCombinationIsHeardPressedAndReleasedWhateverTheLockKeys) {
    HotKeyRef ref;
    ASSERT_EQ(hotKeys->registerHotKey(kW, kControlCommand, {0x4e4d424c, 7}, ref), kHotKeyNoError);
    ASSERT_TRUE(ref);
    ASSERT_TRUE(typed("key ctrl+super+w", 2));
    EXPECT_EQ(heard, (Heard{{HotKeyEventKind::pressed, 7}, {HotKeyEventKind::released, 7}}));

    // Caps Lock on: still the same combination.
    heard.clear();
    ASSERT_TRUE(typed("key Caps_Lock key ctrl+super+w key Caps_Lock", 2));
    EXPECT_EQ(heard, (Heard{{HotKeyEventKind::pressed, 7}, {HotKeyEventKind::released, 7}}));

    // The modifiers let go before the key: the release is still the hot key's.
    heard.clear();
    ASSERT_TRUE(typed("keydown ctrl+super+w keyup ctrl+super keyup w", 2));
    EXPECT_EQ(heard.back(), std::make_pair(HotKeyEventKind::released, 7u));

    hotKeys->unregisterHotKey(ref);
    heard.clear();
    EXPECT_TRUE(typedUnheard("key ctrl+super+w"));
}

TEST_F(X11HotKeysTest, ACombinationAnotherClientHoldsIsRefusedAndLeavesNothingBehind) {
    TestClient other;
    ASSERT_TRUE(other.connected());
    // The other client holds ctrl+super+s with Num Lock on only: one of the four variants.
    xcb_keycode_t s = 39;
    xcb_grab_key(other.connection().get(), 1, other.connection().root(),
                 XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_4 | XCB_MOD_MASK_2, s, XCB_GRAB_MODE_ASYNC,
                 XCB_GRAB_MODE_ASYNC);
    xcb_aux_sync(other.connection().get());

    HotKeyRef ref;
    EXPECT_EQ(hotKeys->registerHotKey(kS, kControlCommand, {0x4e4d424c, 3}, ref),
              kHotKeyExistsError);
    EXPECT_FALSE(ref);
    EXPECT_TRUE(typedUnheard("key ctrl+super+s"));
    EXPECT_EQ(hotKeys->registerHotKey(0x47, kControlCommand, {0x4e4d424c, 4}, ref),
              kHotKeyInvalidError);
    // The program cannot hold one combination twice either.
    ASSERT_EQ(hotKeys->registerHotKey(kW, kControlCommand, {0x4e4d424c, 5}, ref), kHotKeyNoError);
    HotKeyRef again;
    EXPECT_EQ(hotKeys->registerHotKey(kW, kControlCommand, {0x4e4d424c, 6}, again),
              kHotKeyExistsError);
}

TEST(X11KeyboardLayoutTest, AKeyPositionGivesTheTextOfTheLayout) {
    auto connection = Connection::open();
    ASSERT_NE(connection, nullptr);
    x11::X11KeyboardLayout layout(*connection);
    EXPECT_EQ(layout.characters(0x00), "a");
    EXPECT_EQ(layout.characters(kW), "w");
    EXPECT_EQ(layout.characters(0x12), "1");
    EXPECT_EQ(layout.characters(0x31), " ");
    EXPECT_EQ(layout.characters(0x24), "");  // Return
    EXPECT_EQ(layout.characters(0x47), "");  // a key the table does not place
}

}  // namespace
}  // namespace nimbrel::test
