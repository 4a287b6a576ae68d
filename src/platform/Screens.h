#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace nimbrel {

// A connected display. Frames are in the platform's screen space: origin at the bottom-left corner
// of the primary screen, y growing upwards, in points.
struct Screen {
    Rect frame;
    Rect visibleFrame;
    std::uint32_t displayID = 0;
    std::string uuid;  // stable across reconnection; the notice-screen setting stores it
    friend bool operator==(const Screen&, const Screen&) = default;
};

class Screens {
  public:
    virtual ~Screens() = default;
    // The primary screen first.
    virtual std::vector<Screen> screens() = 0;
    // The screen the user is working on; none without screens.
    virtual std::optional<Screen> mainScreen() = 0;
    // In screen space (bottom-left origin).
    virtual Point mouseLocation() = 0;
};

}  // namespace nimbrel
