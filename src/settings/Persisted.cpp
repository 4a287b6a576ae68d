#include "settings/Persisted.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "settings/JsonValue.h"

namespace nimbrel {
namespace {

// The fixed shortcuts with their defaults, in the order they are compared.
struct FixedShortcut {
    std::optional<KeyCombo> Persisted::*combo;
    const char* key;
    KeyCombo fallback;
};

constexpr FixedShortcut kFixedShortcuts[] = {
    {&Persisted::focusedCombo, "focusedCombo", kDefaultFocusedCombo},
    {&Persisted::allCombo, "allCombo", kDefaultAllCombo},
    {&Persisted::designateCombo, "designateCombo", kDefaultDesignateCombo},
    {&Persisted::focusModeCombo, "focusModeCombo", kDefaultFocusModeCombo},
    {&Persisted::regionCoverCombo, "regionCoverCombo", kDefaultRegionCoverCombo},
    {&Persisted::regionClearCombo, "regionClearCombo", kDefaultRegionClearCombo},
};

// The five shortcuts that existed in version 1; region clear came later.
constexpr std::size_t kVersion1Shortcuts = 5;

// Shortcuts version 1 used ⌃⇧⌘ for every fixed shortcut. A user who never changed one gets the
// new ⌃⌘ default, unless one of their bindings already took that combination.
void migrateFromVersion1(Persisted& doc) {
    for (std::size_t i = 0; i < kVersion1Shortcuts; ++i) {
        auto& combo = doc.*kFixedShortcuts[i].combo;
        KeyCombo fallback = kFixedShortcuts[i].fallback;
        KeyCombo oldDefault{fallback.keyCode, KeyCombo::kPreviousDefaultModifiers};
        if (!combo || *combo != oldDefault) {
            continue;
        }
        bool takenByBinding = false;
        for (const auto& binding : doc.bindings) {
            takenByBinding = takenByBinding || binding.combo == fallback;
        }
        if (!takenByBinding) {
            combo = fallback;
        }
    }
}

// A document from before the region-clear shortcut existed: it follows the modifiers the user
// gave the other shortcuts when they all agree.
KeyCombo regionClearFor(const Persisted& doc) {
    std::set<std::uint32_t> masks;
    for (std::size_t i = 0; i < kVersion1Shortcuts; ++i) {
        const auto& combo = doc.*kFixedShortcuts[i].combo;
        if (combo && combo->modifiers != 0) {
            masks.insert(combo->modifiers);
        }
    }
    if (masks.size() == 1) {
        return KeyCombo{kDefaultRegionClearCombo.keyCode, *masks.begin()};
    }
    return kDefaultRegionClearCombo;
}

// True when another fixed shortcut or a binding already has the combination of `own`.
bool takenElsewhere(const Persisted& doc, std::optional<KeyCombo> Persisted::*own) {
    const auto& combo = doc.*own;
    for (const auto& fixed : kFixedShortcuts) {
        if (fixed.combo != own && doc.*fixed.combo == combo) {
            return true;
        }
    }
    return std::any_of(doc.bindings.begin(), doc.bindings.end(),
                       [&](const WindowBinding& binding) { return binding.combo == combo; });
}

// Reads one setting into `out`, which holds its default. Answers false for a value of the wrong
// type; a value its rule refuses leaves the default and is noted in `refused`.
template <typename Rule, typename T>
bool readSetting(const Json& document, const char* key, T& out,
                 std::set<std::string_view>& refused) {
    auto it = document.find(key);
    if (it == document.end()) {
        return true;
    }
    T value{};
    if (!json::read(*it, value)) {
        return false;
    }
    if (Rule::accepts(value)) {
        out = Rule::corrected(std::move(value));
    } else {
        refused.insert(key);
    }
    return true;
}

}  // namespace

std::optional<Persisted> Persisted::decode(const Json& document) {
    if (!document.is_object()) {
        return std::nullopt;
    }
    Persisted doc;
    std::set<std::string_view> refused;
    bool ok = true;
#define NIMBREL_PERSISTED_READ(Type, name, fallback, change, Rule) \
    ok = ok && readSetting<Rule>(document, #name, doc.name, refused);
    NIMBREL_SETTINGS(NIMBREL_PERSISTED_READ)
#undef NIMBREL_PERSISTED_READ
    long long version = 0;
    auto versionKey = document.find("shortcutsVersion");
    if (!ok || (versionKey != document.end() && !json::read(*versionKey, version))) {
        return std::nullopt;
    }
    if (versionKey == document.end() || version <= 1) {
        migrateFromVersion1(doc);
    }
    if (!document.contains("regionClearCombo") || refused.count("regionClearCombo") != 0) {
        doc.regionClearCombo = regionClearFor(doc);
    }
    // A refused shortcut took its default; where that default is another's, it gets none.
    for (const auto& fixed : kFixedShortcuts) {
        if (refused.count(fixed.key) != 0 && doc.*fixed.combo && takenElsewhere(doc, fixed.combo)) {
            (doc.*fixed.combo).reset();
        }
    }
    return doc;
}

Json Persisted::encode() const {
    Json out = Json::object();
#define NIMBREL_PERSISTED_WRITE(Type, name, fallback, change, Rule) out[#name] = json::write(name);
    NIMBREL_SETTINGS(NIMBREL_PERSISTED_WRITE)
#undef NIMBREL_PERSISTED_WRITE
    out["shortcutsVersion"] = kCurrentShortcutsVersion;
    return out;
}

}  // namespace nimbrel
