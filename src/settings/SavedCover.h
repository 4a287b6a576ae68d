#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handles.h"
#include "platform/UserDefaults.h"
#include "settings/Uuid.h"

namespace nimbrel {

// A named set of region covers that the user saved to put back later.
struct SavedCover {
    // The window a cover was anchored to.
    struct Window {
        std::optional<std::string> bundleID;
        std::string appName;
        std::string title;
        std::optional<WindowNumber> number;

        static std::optional<Window> fromJson(const Json& json);
        Json toJson() const;
        friend bool operator==(const Window&, const Window&) = default;
    };

    // A free cover's panel frame in screen space, or an anchored cover's offset from its window's
    // top-left corner together with its size.
    struct Region {
        std::optional<Window> window;
        Rect rect;

        // Beyond this, in points, lies no arrangement of screens.
        static constexpr double kMaximumExtent = 100000;
        // A size some cover can have (positive both ways) at a place on some arrangement of
        // screens; nothing else was saved by the program.
        bool hasCoverExtent() const;

        static std::optional<Region> fromJson(const Json& json);
        Json toJson() const;
        friend bool operator==(const Region&, const Region&) = default;
    };

    Uuid id;
    std::string name;
    std::vector<Region> regions;

    static std::optional<SavedCover> fromJson(const Json& json);
    Json toJson() const;
    friend bool operator==(const SavedCover&, const SavedCover&) = default;
};

}  // namespace nimbrel
