#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

namespace nimbrel::x11 {

// The program names keys by virtual key codes, which stand for positions on the keyboard ("the
// key right of Q"), whatever the layout prints on them. X keycodes (evdev + 8) are positions too,
// so the two map one to one through this table.
std::optional<xcb_keycode_t> keycodeFor(std::uint32_t virtualKey);
std::optional<std::uint32_t> virtualKeyFor(xcb_keycode_t keycode);

// The program's modifier mask (command 0x100, shift 0x200, option 0x800, control 0x1000) as X
// modifier bits: Command is Super (Mod4), Option is Alt (Mod1).
std::uint16_t modifierBitsFor(std::uint32_t modifiers);

}  // namespace nimbrel::x11
