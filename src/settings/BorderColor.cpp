#include "settings/BorderColor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "settings/TextRules.h"

namespace nimbrel::bordercolor {

std::optional<SrgbColor> fromHex(std::string_view text) {
    std::string hex = text::trimmed(text);
    if (!hex.empty() && hex[0] == '#') {
        hex.erase(0, 1);
    }
    if (hex.size() != 6) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : hex) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return SrgbColor{((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0,
                     (value & 0xFF) / 255.0, 1.0};
}

std::string toHex(const std::optional<SrgbColor>& color) {
    if (!color) {
        return "#000000";
    }
    auto byte = [](double component) {
        double scaled = std::round(component * 255.0);  // half away from zero
        if (!std::isfinite(scaled)) {
            scaled = 0;
        }
        return static_cast<unsigned>(std::clamp(scaled, 0.0, 255.0));
    };
    char out[8];
    std::snprintf(out, sizeof out, "#%02X%02X%02X", byte(color->red), byte(color->green),
                  byte(color->blue));
    return out;
}

}  // namespace nimbrel::bordercolor
