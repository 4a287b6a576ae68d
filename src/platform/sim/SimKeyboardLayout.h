#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/KeyEventMonitor.h"
#include "platform/KeyboardLayout.h"

namespace nimbrel::sim {

// A US ANSI keyboard and its layout. Besides translating keys, it reads the console's key names
// ("a", "7", "f5", "space", "fwd-delete") and combinations ("ctrl+cmd+w").
class SimKeyboardLayout final : public KeyboardLayout {
  public:
    struct Combo {
        std::uint32_t keyCode = 0;
        // Mask of the hot-key service: command 0x100, shift 0x200, option 0x800, control 0x1000.
        std::uint32_t modifiers = 0;
        EventModifierFlags eventFlags = 0;
    };

    std::string characters(std::uint32_t keyCode) override;

    // While on, the layout cannot be read and every key translates to nothing.
    void setUnreadable(bool unreadable) { unreadable_ = unreadable; }

    static std::optional<std::uint32_t> keyCode(std::string_view name);
    // Modifiers `ctrl`, `opt`, `shift`, `cmd`, then one key, joined by '+'; case does not matter.
    static std::optional<Combo> parseCombo(std::string_view text);

  private:
    bool unreadable_ = false;
};

}  // namespace nimbrel::sim
