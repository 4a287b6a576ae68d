#pragma once

#include "platform/StringKey.h"

namespace nimbrel {

enum class BorderIndicatorStyle { fullBorder = 0, cornerMarker = 1 };

// Anything but the corner marker's raw value draws the full border.
constexpr BorderIndicatorStyle fromRaw(BorderIndicatorStyle, long long raw) {
    return raw == 1 ? BorderIndicatorStyle::cornerMarker : BorderIndicatorStyle::fullBorder;
}

constexpr StringKey displayKey(BorderIndicatorStyle style) {
    return style == BorderIndicatorStyle::cornerMarker ? "settings.border.style.corner"_key
                                                       : "settings.border.style.full"_key;
}

}  // namespace nimbrel
