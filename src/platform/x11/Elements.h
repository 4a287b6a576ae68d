#pragma once

#include <xcb/xcb.h>

#include <cstdint>

#include "platform/Handles.h"

namespace nimbrel::x11 {

// Accessibility elements on X: a client window, the process of an application, or the whole
// system. A handle carries what it stands for in its top bits; the program never looks inside.
struct ElementTarget {
    enum class Kind { none, window, application, systemWide } kind = Kind::none;
    xcb_window_t window = XCB_WINDOW_NONE;
    Pid pid = 0;
};

namespace elements {

inline constexpr std::uint64_t kKindShift = 40;
inline constexpr std::uint64_t kPayload = (std::uint64_t{1} << kKindShift) - 1;

inline ElementRef window(xcb_window_t window) {
    return ElementRef{(std::uint64_t{1} << kKindShift) | window};
}
inline ElementRef application(Pid pid) {
    return ElementRef{(std::uint64_t{2} << kKindShift) | static_cast<std::uint32_t>(pid)};
}
inline ElementRef systemWide() {
    return ElementRef{std::uint64_t{3} << kKindShift};
}

inline ElementTarget target(ElementRef element) {
    std::uint64_t payload = element.id & kPayload;
    switch (element.id >> kKindShift) {
        case 1:
            return {ElementTarget::Kind::window, static_cast<xcb_window_t>(payload), 0};
        case 2:
            return {ElementTarget::Kind::application, XCB_WINDOW_NONE, static_cast<Pid>(payload)};
        case 3:
            return {ElementTarget::Kind::systemWide, XCB_WINDOW_NONE, 0};
        default:
            return {};
    }
}

}  // namespace elements
}  // namespace nimbrel::x11
