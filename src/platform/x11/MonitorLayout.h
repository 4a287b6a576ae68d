#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace nimbrel::x11 {

// One monitor as the X server has it: a rectangle of the root window (origin top-left, y down).
struct Monitor {
    Rect frame;
    std::string name;
    std::uint32_t id = 0;
    bool primary = false;
};

// Space a dock reserves along the root window's edges (_NET_WM_STRUT_PARTIAL: left, right, top,
// bottom, then the start and end of each along its edge).
struct Strut {
    std::array<double, 12> values{};
    // From the property's items: 12 of the partial form, or 4 of the older whole-edge form; none
    // for any other count.
    static std::optional<Strut> fromCardinals(const std::vector<std::uint32_t>& items);
};

// The monitors with the program's two spaces laid over the root window: accessibility space has
// its origin at the primary monitor's top-left corner, screen space at its bottom-left corner with
// y up. Windows, the pointer and the program's panels all convert here.
class MonitorLayout {
  public:
    MonitorLayout(std::vector<Monitor> monitors, Size root);

    // The primary monitor first, then the rest in the server's order.
    const std::vector<Monitor>& monitors() const { return monitors_; }

    // The monitor's frame less what the docks reserve over it, in root coordinates.
    Rect visibleFrame(const Monitor& monitor, const std::vector<Strut>& struts) const;

    // Whether the rectangle (root coordinates) shows on a monitor: more of it than the one-pixel
    // sliver that a window parked at the far corner of the monitors keeps on them.
    bool showsOnAnyMonitor(const Rect& root) const;

    Point toAccessibility(Point root) const;
    Rect toAccessibility(const Rect& root) const;
    Point fromAccessibility(Point accessibility) const;
    Point toScreenSpace(Point root) const;
    Rect toScreenSpace(const Rect& root) const;
    Point fromScreenSpace(Point screen) const;
    Rect fromScreenSpace(const Rect& screen) const;

  private:
    std::vector<Monitor> monitors_;
    Size root_;
    Point origin_;
    double primaryHeight_ = 0;
};

}  // namespace nimbrel::x11
