#pragma once

#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handles.h"

namespace nimbrel {

// A window as the window server lists it. Bounds are in accessibility space (top-left origin).
struct WindowInfo {
    Pid ownerPID = 0;
    WindowNumber number = 0;
    int layer = 0;
    Rect bounds;
    std::string ownerName;
    std::string name;
};

class WindowList {
  public:
    virtual ~WindowList() = default;
    // Windows currently on screen, front to back.
    virtual std::vector<WindowInfo> onScreenWindows() = 0;
};

}  // namespace nimbrel
