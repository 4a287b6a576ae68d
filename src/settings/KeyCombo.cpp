#include "settings/KeyCombo.h"

#include <utility>

#include "settings/JsonValue.h"
#include "settings/KeyNames.h"
#include "settings/TextRules.h"

namespace nimbrel {
namespace {

// Display order of the modifier symbols, with the event flag of each.
constexpr struct {
    std::uint32_t mask;
    EventModifier flag;
    const char* symbol;
} kModifiers[] = {
    {KeyCombo::kControl, EventModifier::control, "⌃"},
    {KeyCombo::kOption, EventModifier::option, "⌥"},
    {KeyCombo::kShift, EventModifier::shift, "⇧"},
    {KeyCombo::kCommand, EventModifier::command, "⌘"},
};

constexpr std::uint32_t kCommandOptionControl =
    KeyCombo::kControl | KeyCombo::kOption | KeyCombo::kCommand;

}  // namespace

KeyCombo KeyCombo::fromEvent(const KeyEvent& event) {
    return KeyCombo{event.keyCode, modifiersFromEventFlags(event.modifierFlags)};
}

std::uint32_t KeyCombo::modifiersFromEventFlags(EventModifierFlags flags) {
    std::uint32_t mask = 0;
    for (const auto& m : kModifiers) {
        if (hasModifier(flags, m.flag)) {
            mask |= m.mask;
        }
    }
    return mask;
}

EventModifierFlags KeyCombo::eventModifierFlags() const {
    EventModifierFlags flags = 0;
    for (const auto& m : kModifiers) {
        if ((modifiers & m.mask) != 0) {
            flags = flags | m.flag;
        }
    }
    return flags;
}

std::string KeyCombo::modifierSymbols(std::uint32_t mask) {
    std::string out;
    for (const auto& m : kModifiers) {
        if ((mask & m.mask) != 0) {
            out += m.symbol;
        }
    }
    return out;
}

std::string KeyCombo::keyName(std::uint32_t keyCode, KeyboardLayout& layout) {
    if (auto name = keynames::fixedName(keyCode)) {
        return std::string(*name);
    }
    std::string typed = text::trimmed(text::upperCased(layout.characters(keyCode)));
    if (!typed.empty()) {
        return typed;
    }
    return "#" + std::to_string(keyCode);
}

std::string KeyCombo::displayText(KeyboardLayout& layout) const {
    return modifierSymbols(modifiers) + keyName(keyCode, layout);
}

std::optional<std::string> KeyCombo::menuKeyEquivalent(KeyboardLayout& layout) const {
    if (keynames::fixedName(keyCode)) {
        return std::nullopt;
    }
    std::string typed = layout.characters(keyCode);
    if (typed.empty()) {
        return std::nullopt;
    }
    return text::lowerCased(typed);
}

bool KeyCombo::isValidShortcut() const {
    return (modifiers & kCommandOptionControl) != 0 || keynames::isFunctionKey(keyCode);
}

std::optional<KeyCombo> KeyCombo::fromJson(const Json& json) {
    if (!json.is_object()) {
        return std::nullopt;
    }
    KeyCombo combo;
    if (!json::readKey(json, "keyCode", combo.keyCode, true) ||
        !json::readKey(json, "modifiers", combo.modifiers, true)) {
        return std::nullopt;
    }
    return combo;
}

Json KeyCombo::toJson() const {
    Json out = Json::object();
    out["keyCode"] = keyCode;
    out["modifiers"] = modifiers;
    return out;
}

}  // namespace nimbrel
