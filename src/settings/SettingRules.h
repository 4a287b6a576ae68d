#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "settings/KeyCombo.h"
#include "settings/SavedCover.h"
#include "settings/WindowBinding.h"

// What a value of a setting must be, read from the document or set by the settings window. A rule
// `accepts` a value or refuses it (a stored value it refuses reads as absent, so the default
// applies; a set one changes nothing), and may correct a value it accepts.
namespace nimbrel::rule {

struct AsStored {
    template <typename T>
    static bool accepts(const T&) {
        return true;
    }
    template <typename T>
    static T corrected(T value) {
        return value;
    }
};

// The hold slider of the settings window.
struct HoldSeconds : AsStored {
    static constexpr double kMinimum = 0.5;
    static constexpr double kMaximum = 3.0;
    static bool accepts(double seconds) { return seconds >= kMinimum && seconds <= kMaximum; }
};

// The idle and relock pickers: off (0) up to their longest choice.
struct PickerMinutes : AsStored {
    static constexpr long long kMaximum = 30;
    static bool accepts(long long minutes) { return minutes >= 0 && minutes <= kMaximum; }
};

struct BorderOpacity : AsStored {
    static constexpr double kMinimum = 0.2;
    static constexpr double kMaximum = 1.0;
    static bool accepts(double opacity) { return std::isfinite(opacity); }
    static double corrected(double opacity) { return std::clamp(opacity, kMinimum, kMaximum); }
};

// Each keyword trimmed of spaces and tabs, and no empty ones: they would match every title.
struct Keywords : AsStored {
    static std::vector<std::string> corrected(std::vector<std::string> keywords);
};

// A plain key is no global shortcut: it would take that key away from every application.
struct Shortcut : AsStored {
    static bool accepts(const std::optional<KeyCombo>& combo) {
        return !combo || combo->isValidShortcut();
    }
};

// Ids are read in either letter case, so two stored bindings may carry one id: the first keeps it
// and the others are dropped. A binding's shortcut that is no valid shortcut is dropped alone.
struct Bindings : AsStored {
    static std::vector<WindowBinding> corrected(std::vector<WindowBinding> bindings);
};

// Regions of a size no cover can have are dropped, then sets left without regions, then sets that
// repeat an earlier set's id.
struct SavedCovers : AsStored {
    static std::vector<SavedCover> corrected(std::vector<SavedCover> covers);
};

}  // namespace nimbrel::rule
