#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/UserDefaults.h"
#include "settings/AllowedApp.h"
#include "settings/KeyCombo.h"
#include "settings/SavedCover.h"
#include "settings/WindowBinding.h"

namespace nimbrel {

inline constexpr KeyCombo kDefaultFocusedCombo{13, KeyCombo::kDefaultModifiers};      // W
inline constexpr KeyCombo kDefaultAllCombo{14, KeyCombo::kDefaultModifiers};          // E
inline constexpr KeyCombo kDefaultDesignateCombo{1, KeyCombo::kDefaultModifiers};     // S
inline constexpr KeyCombo kDefaultFocusModeCombo{2, KeyCombo::kDefaultModifiers};     // D
inline constexpr KeyCombo kDefaultRegionCoverCombo{15, KeyCombo::kDefaultModifiers};  // R
inline constexpr KeyCombo kDefaultRegionClearCombo{7, KeyCombo::kDefaultModifiers};   // X
inline constexpr long long kCurrentShortcutsVersion = 2;

// Every key of the settings document, once: its type, its stored name (the member's name) and the
// value a document without it gets. Decoding, encoding and the defaults all read this list.
#define NIMBREL_PERSISTED_KEYS(KEY)                                          \
    KEY(std::optional<KeyCombo>, focusedCombo, kDefaultFocusedCombo)         \
    KEY(bool, lockFocused, false)                                            \
    KEY(std::optional<KeyCombo>, allCombo, kDefaultAllCombo)                 \
    KEY(std::optional<KeyCombo>, designateCombo, kDefaultDesignateCombo)     \
    KEY(std::optional<KeyCombo>, focusModeCombo, kDefaultFocusModeCombo)     \
    KEY(std::optional<KeyCombo>, regionCoverCombo, kDefaultRegionCoverCombo) \
    KEY(std::optional<KeyCombo>, regionClearCombo, kDefaultRegionClearCombo) \
    KEY(std::vector<WindowBinding>, bindings, {})                            \
    KEY(std::vector<AllowedApp>, allowedApps, {})                            \
    KEY(bool, focusLock, false)                                              \
    KEY(double, holdDuration, 1.0)                                           \
    KEY(long long, idleMinutes, 0)                                           \
    KEY(bool, hideMenuBarIcon, false)                                        \
    KEY(bool, autoHideOnMonitorChange, false)                                \
    KEY(bool, autoHideOnScreenShare, false)                                  \
    KEY(bool, autoHideOnLock, true)                                          \
    KEY(long long, relockMinutes, 0)                                         \
    KEY(long long, hotCorner, 0)                                             \
    KEY(std::vector<std::string>, keywords, {})                              \
    KEY(bool, useCover, false)                                               \
    KEY(bool, showBorders, true)                                             \
    KEY(long long, borderIndicatorStyle, 0)                                  \
    KEY(std::string, borderColorNormalHex, "#2563EB")                        \
    KEY(std::string, borderColorLockedHex, "#EF4444")                        \
    KEY(double, borderOpacity, 0.9)                                          \
    KEY(std::string, coverMessage, "")                                       \
    KEY(bool, instantHide, true)                                             \
    KEY(bool, showDockIcon, false)                                           \
    KEY(std::vector<SavedCover>, savedCovers, {})                            \
    KEY(bool, askToRemoveMissing, true)                                      \
    KEY(std::string, screenChoice, "")                                       \
    KEY(std::string, screenChoiceName, "")                                   \
    KEY(bool, hideWhenAppears, true)                                         \
    KEY(long long, shortcutsVersion, kCurrentShortcutsVersion)

// The settings document as stored under "settings.v1".
struct Persisted {
#define NIMBREL_PERSISTED_MEMBER(Type, name, fallback) Type name = fallback;
    NIMBREL_PERSISTED_KEYS(NIMBREL_PERSISTED_MEMBER)
#undef NIMBREL_PERSISTED_MEMBER

    // None when a present key has the wrong type. Migrates the shortcuts of older versions and
    // fills a missing region-clear shortcut; the result is always of the current version.
    static std::optional<Persisted> decode(const Json& document);
    // Every key, always.
    Json encode() const;

    friend bool operator==(const Persisted&, const Persisted&) = default;
};

}  // namespace nimbrel
