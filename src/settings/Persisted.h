#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/UserDefaults.h"
#include "settings/AllowedApp.h"
#include "settings/BorderIndicatorStyle.h"
#include "settings/HotCorner.h"
#include "settings/KeyCombo.h"
#include "settings/SavedCover.h"
#include "settings/SettingRules.h"
#include "settings/WindowBinding.h"

namespace nimbrel {

inline constexpr KeyCombo kDefaultFocusedCombo{13, KeyCombo::kDefaultModifiers};      // W
inline constexpr KeyCombo kDefaultAllCombo{14, KeyCombo::kDefaultModifiers};          // E
inline constexpr KeyCombo kDefaultDesignateCombo{1, KeyCombo::kDefaultModifiers};     // S
inline constexpr KeyCombo kDefaultFocusModeCombo{2, KeyCombo::kDefaultModifiers};     // D
inline constexpr KeyCombo kDefaultRegionCoverCombo{15, KeyCombo::kDefaultModifiers};  // R
inline constexpr KeyCombo kDefaultRegionClearCombo{7, KeyCombo::kDefaultModifiers};   // X
inline constexpr long long kCurrentShortcutsVersion = 2;

// How a change of a setting reaches the rest of the program. `own` settings change only through
// the store's own operations (shortcuts, bindings, lists and texts with rules of their own); the
// others are set directly and, once saved, announced by the callback of their kind.
enum class SettingChange { own, plain, triggers, borders, dockIcon };

// Every setting, once: its type, its stored name (also the name of its property), the value a
// document without it gets, how a change is announced, and the rule its values must meet. The
// document, its decoding and encoding, the store's properties and its setter all read this list.
#define NIMBREL_SETTINGS(KEY)                                                                     \
    KEY(std::optional<KeyCombo>, focusedCombo, kDefaultFocusedCombo, own, rule::Shortcut)         \
    KEY(bool, lockFocused, false, plain, rule::AsStored)                                          \
    KEY(std::optional<KeyCombo>, allCombo, kDefaultAllCombo, own, rule::Shortcut)                 \
    KEY(std::optional<KeyCombo>, designateCombo, kDefaultDesignateCombo, own, rule::Shortcut)     \
    KEY(std::optional<KeyCombo>, focusModeCombo, kDefaultFocusModeCombo, own, rule::Shortcut)     \
    KEY(std::optional<KeyCombo>, regionCoverCombo, kDefaultRegionCoverCombo, own, rule::Shortcut) \
    KEY(std::optional<KeyCombo>, regionClearCombo, kDefaultRegionClearCombo, own, rule::Shortcut) \
    KEY(std::vector<WindowBinding>, bindings, {}, own, rule::Bindings)                            \
    KEY(std::vector<AllowedApp>, allowedApps, {}, own, rule::AsStored)                            \
    KEY(bool, focusLock, false, plain, rule::AsStored)                                            \
    KEY(double, holdDuration, 1.0, plain, rule::HoldSeconds)                                      \
    KEY(long long, idleMinutes, 0, plain, rule::PickerMinutes)                                    \
    KEY(bool, hideMenuBarIcon, false, plain, rule::AsStored)                                      \
    KEY(bool, autoHideOnMonitorChange, false, triggers, rule::AsStored)                           \
    KEY(bool, autoHideOnScreenShare, false, triggers, rule::AsStored)                             \
    KEY(bool, autoHideOnLock, true, triggers, rule::AsStored)                                     \
    KEY(long long, relockMinutes, 0, plain, rule::PickerMinutes)                                  \
    KEY(HotCorner, hotCorner, HotCorner::off, triggers, rule::AsStored)                           \
    KEY(std::vector<std::string>, keywords, {}, plain, rule::Keywords)                            \
    KEY(bool, useCover, false, plain, rule::AsStored)                                             \
    KEY(bool, showBorders, true, borders, rule::AsStored)                                         \
    KEY(BorderIndicatorStyle, borderIndicatorStyle, BorderIndicatorStyle::fullBorder, borders,    \
        rule::AsStored)                                                                           \
    KEY(std::string, borderColorNormalHex, "#2563EB", borders, rule::AsStored)                    \
    KEY(std::string, borderColorLockedHex, "#EF4444", borders, rule::AsStored)                    \
    KEY(double, borderOpacity, 0.9, borders, rule::BorderOpacity)                                 \
    KEY(std::string, coverMessage, "", own, rule::AsStored)                                       \
    KEY(bool, instantHide, true, plain, rule::AsStored)                                           \
    KEY(bool, showDockIcon, false, dockIcon, rule::AsStored)                                      \
    KEY(std::vector<SavedCover>, savedCovers, {}, own, rule::SavedCovers)                         \
    KEY(bool, askToRemoveMissing, true, plain, rule::AsStored)                                    \
    KEY(std::string, screenChoice, "", own, rule::AsStored)                                       \
    KEY(std::string, screenChoiceName, "", own, rule::AsStored)                                   \
    KEY(bool, hideWhenAppears, true, triggers, rule::AsStored)

// The settings document as stored under "settings.v1". Besides the settings it carries
// "shortcutsVersion", the version of the shortcut defaults, always written as the current one.
struct Persisted {
#define NIMBREL_PERSISTED_MEMBER(Type, name, fallback, change, Rule) Type name = fallback;
    NIMBREL_SETTINGS(NIMBREL_PERSISTED_MEMBER)
#undef NIMBREL_PERSISTED_MEMBER

    // None when a present key has the wrong type. A value of the right type that its rule refuses
    // reads as absent. Migrates the shortcuts of older versions and fills a missing region-clear
    // shortcut.
    static std::optional<Persisted> decode(const Json& document);
    // Every key, always.
    Json encode() const;

    friend bool operator==(const Persisted&, const Persisted&) = default;
};

}  // namespace nimbrel
