#pragma once

#include "platform/StringKey.h"

namespace nimbrel {

// Raw values are what the settings document stores.
enum class HotCorner {
    off = 0,
    topLeft = 1,
    topRight = 2,
    bottomLeft = 3,
    bottomRight = 4,
    allCorners = 5
};

// Unknown raw values (from a newer or damaged document) turn the corner off.
constexpr HotCorner fromRaw(HotCorner, long long raw) {
    return raw >= 0 && raw <= 5 ? static_cast<HotCorner>(raw) : HotCorner::off;
}

constexpr StringKey displayKey(HotCorner corner) {
    switch (corner) {
        case HotCorner::topLeft:
            return "hotcorner.topLeft"_key;
        case HotCorner::topRight:
            return "hotcorner.topRight"_key;
        case HotCorner::bottomLeft:
            return "hotcorner.bottomLeft"_key;
        case HotCorner::bottomRight:
            return "hotcorner.bottomRight"_key;
        case HotCorner::allCorners:
            return "hotcorner.allCorners"_key;
        case HotCorner::off:
            break;
    }
    return "common.off"_key;
}

}  // namespace nimbrel
