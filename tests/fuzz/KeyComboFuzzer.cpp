#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "platform/StoredJson.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "settings/KeyCombo.h"

using nimbrel::KeyCombo;
using nimbrel::fuzz::require;

// A key combination as the settings document holds it, then everything shown or registered for it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static nimbrel::sim::SimKeyboardLayout layout;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto json = nimbrel::parseStoredJson(bytes);
    if (!json) {
        return 0;
    }
    auto combo = KeyCombo::fromJson(*json);
    if (!combo) {
        return 0;
    }
    require(KeyCombo::fromJson(combo->toJson()) == combo, "a written combination reads back");
    constexpr std::uint32_t known =
        KeyCombo::kCommand | KeyCombo::kShift | KeyCombo::kOption | KeyCombo::kControl;
    require(KeyCombo::modifiersFromEventFlags(combo->eventModifierFlags()) ==
                (combo->modifiers & known),
            "modifiers survive the way through event flags");
    require(!combo->displayText(layout).empty(), "every combination has a name");
    (void)combo->menuKeyEquivalent(layout);
    (void)combo->isValidShortcut();
    return 0;
}
