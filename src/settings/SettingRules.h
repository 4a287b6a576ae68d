#pragma once

#include <algorithm>
#include <string>
#include <vector>

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

struct BorderOpacity : AsStored {
    static constexpr double kMinimum = 0.2;
    static constexpr double kMaximum = 1.0;
    static double corrected(double opacity) { return std::clamp(opacity, kMinimum, kMaximum); }
};

// Each keyword trimmed of spaces and tabs, and no empty ones: they would match every title.
struct Keywords : AsStored {
    static std::vector<std::string> corrected(std::vector<std::string> keywords);
};

}  // namespace nimbrel::rule
