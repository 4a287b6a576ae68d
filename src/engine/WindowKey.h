#pragma once

#include <optional>
#include <string>

#include "platform/Handles.h"
#include "platform/UserDefaults.h"

namespace nimbrel {

// The identity of a window across a relaunch of this program: its process, its application's bundle
// identifier and its window-server number.
struct WindowKey {
    Pid pid = 0;
    std::optional<std::string> bundleID;
    WindowNumber number = 0;

    Json toJson() const;
    // None unless "pid" and "number" are integers in range; an absent "bundleID" stays absent.
    static std::optional<WindowKey> fromJson(const Json& json);

    friend bool operator==(const WindowKey&, const WindowKey&) = default;
};

}  // namespace nimbrel
