#include "platform/x11/VirtualKeys.h"

#include <gtest/gtest.h>

#include <set>

namespace nimbrel::test {
namespace {

using x11::keycodeFor;
using x11::virtualKeyFor;

TEST(VirtualKeysTest, EveryPlacedKeyHasOnePositionAndComesBackFromIt) {
    std::set<xcb_keycode_t> used;
    for (std::uint32_t key = 0; key < 0x80; ++key) {
        auto code = keycodeFor(key);
        if (!code) {
            continue;
        }
        SCOPED_TRACE(key);
        EXPECT_TRUE(used.insert(*code).second) << "two keys on one position";
        EXPECT_EQ(virtualKeyFor(*code), key);
    }
}

TEST(VirtualKeysTest, TheKeypadHasItsOwnPositions) {
    struct Case {
        std::uint32_t key;
        xcb_keycode_t code;
    };
    // Keypad 0, 5, 9, Enter, minus and the main row's 1 and Return for contrast.
    const Case cases[] = {{0x52, 90}, {0x57, 84}, {0x5C, 81}, {0x4C, 104},
                          {0x4E, 82}, {0x12, 10}, {0x24, 36}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(keycodeFor(c.key), c.code);
    }
    // Clear would sit on Num Lock, a lock key the grabs leave out.
    EXPECT_FALSE(keycodeFor(0x47).has_value());
}

}  // namespace
}  // namespace nimbrel::test
