#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/KeyEventMonitor.h"
#include "platform/KeyboardLayout.h"
#include "platform/UserDefaults.h"

namespace nimbrel {

// A global shortcut: a virtual key code with the hot-key service's modifier mask.
struct KeyCombo {
    static constexpr std::uint32_t kCommand = 0x100;
    static constexpr std::uint32_t kShift = 0x200;
    static constexpr std::uint32_t kOption = 0x800;
    static constexpr std::uint32_t kControl = 0x1000;
    static constexpr std::uint32_t kDefaultModifiers = kControl | kCommand;
    // The defaults of shortcuts version 1, still met in old documents.
    static constexpr std::uint32_t kPreviousDefaultModifiers = kControl | kShift | kCommand;

    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;

    static KeyCombo fromEvent(const KeyEvent& event);
    // Caps lock, function and keypad flags never take part in a shortcut.
    static std::uint32_t modifiersFromEventFlags(EventModifierFlags flags);
    EventModifierFlags eventModifierFlags() const;

    // ⌃⌥⇧⌘ for the bits that are set, in that order.
    static std::string modifierSymbols(std::uint32_t mask);
    // The key's fixed name, else what the layout types (upper-cased), else "#" and the code.
    static std::string keyName(std::uint32_t keyCode, KeyboardLayout& layout);
    std::string displayText(KeyboardLayout& layout) const;
    // Lower-cased text for a menu item; none for named keys, F-keys and keys that type nothing.
    std::optional<std::string> menuKeyEquivalent(KeyboardLayout& layout) const;
    // A shortcut needs ⌃, ⌥ or ⌘; F-keys qualify alone. Shift alone would steal typing.
    bool isValidShortcut() const;

    // Both keys are required integers.
    static std::optional<KeyCombo> fromJson(const Json& json);
    Json toJson() const;

    friend bool operator==(const KeyCombo&, const KeyCombo&) = default;
};

}  // namespace nimbrel

template <>
struct std::hash<nimbrel::KeyCombo> {
    std::size_t operator()(const nimbrel::KeyCombo& c) const noexcept {
        return std::hash<std::uint64_t>{}((std::uint64_t{c.keyCode} << 32) | c.modifiers);
    }
};
