#pragma once

#include <optional>
#include <string>

#include "platform/Handles.h"

namespace nimbrel {

// What the settings need to know of a running application, read by the caller from the workspace.
struct LiveApp {
    std::optional<std::string> bundleID;
    std::optional<std::string> localizedName;
};

// What the settings need to know of another application's window at this moment.
struct LiveWindow {
    LiveApp app;
    // The window server's number; none when it was not reported (or reported as 0).
    std::optional<WindowNumber> number;
    std::string title;
};

}  // namespace nimbrel
