#include "settings/Persisted.h"

#include <set>

#include "settings/JsonValue.h"

namespace nimbrel {
namespace {

// Shortcuts version 1 used ⌃⇧⌘ for every fixed shortcut. A user who never changed one gets the
// new ⌃⌘ default, unless one of their bindings already took that combination.
void migrateFromVersion1(Persisted& doc) {
    std::optional<KeyCombo>* combos[] = {&doc.focusedCombo, &doc.allCombo, &doc.designateCombo,
                                         &doc.focusModeCombo, &doc.regionCoverCombo};
    const KeyCombo defaults[] = {kDefaultFocusedCombo, kDefaultAllCombo, kDefaultDesignateCombo,
                                 kDefaultFocusModeCombo, kDefaultRegionCoverCombo};
    for (std::size_t i = 0; i < std::size(combos); ++i) {
        auto& combo = *combos[i];
        KeyCombo oldDefault{defaults[i].keyCode, KeyCombo::kPreviousDefaultModifiers};
        if (!combo || *combo != oldDefault) {
            continue;
        }
        bool takenByBinding = false;
        for (const auto& binding : doc.bindings) {
            takenByBinding = takenByBinding || binding.combo == defaults[i];
        }
        if (!takenByBinding) {
            combo = defaults[i];
        }
    }
}

// A document from before the region-clear shortcut existed: it follows the modifiers the user
// gave the other shortcuts when they all agree.
KeyCombo regionClearFor(const Persisted& doc) {
    std::set<std::uint32_t> masks;
    for (const auto* combo : {&doc.focusedCombo, &doc.allCombo, &doc.designateCombo,
                              &doc.focusModeCombo, &doc.regionCoverCombo}) {
        if (*combo && (*combo)->modifiers != 0) {
            masks.insert((*combo)->modifiers);
        }
    }
    if (masks.size() == 1) {
        return KeyCombo{kDefaultRegionClearCombo.keyCode, *masks.begin()};
    }
    return kDefaultRegionClearCombo;
}

}  // namespace

std::optional<Persisted> Persisted::decode(const Json& document) {
    if (!document.is_object()) {
        return std::nullopt;
    }
    Persisted doc;
    bool ok = true;
#define NIMBREL_PERSISTED_READ(Type, name, fallback) \
    ok = ok && json::readKey(document, #name, doc.name, false);
    NIMBREL_PERSISTED_KEYS(NIMBREL_PERSISTED_READ)
#undef NIMBREL_PERSISTED_READ
    if (!ok) {
        return std::nullopt;
    }
    auto version = document.find("shortcutsVersion");
    if (version == document.end() || doc.shortcutsVersion <= 1) {
        migrateFromVersion1(doc);
    }
    if (!document.contains("regionClearCombo")) {
        doc.regionClearCombo = regionClearFor(doc);
    }
    doc.shortcutsVersion = kCurrentShortcutsVersion;
    return doc;
}

Json Persisted::encode() const {
    Json out = Json::object();
#define NIMBREL_PERSISTED_WRITE(Type, name, fallback) out[#name] = json::write(name);
    NIMBREL_PERSISTED_KEYS(NIMBREL_PERSISTED_WRITE)
#undef NIMBREL_PERSISTED_WRITE
    out["shortcutsVersion"] = kCurrentShortcutsVersion;
    return out;
}

}  // namespace nimbrel
