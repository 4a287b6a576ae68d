#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "platform/AccessibilityNames.h"
#include "platform/Geometry.h"
#include "platform/Handles.h"
#include "platform/Workspace.h"

namespace nimbrel::sim {

// A connected display. Rectangles are in accessibility space (top-left of the primary screen, y
// down), as the console writes them; the Screens interface converts them.
struct SimScreen {
    std::string name;
    Rect frame;
    Rect visibleFrame;
    std::uint32_t displayID = 0;
    std::string uuid;
};

// One running (or terminated) instance of an application.
struct SimApp {
    AppRef ref;
    Pid pid = 0;
    std::string name;
    std::optional<std::string> bundleID;
    ActivationPolicy policy = ActivationPolicy::regular;
    bool hidden = false;
    bool terminated = false;
    bool hung = false;   // accessibility calls to it time out
    ElementRef focused;  // its focused window; none when 0
};

// The accessibility attributes whose reads and writes a script can make fail.
inline bool isFailableAttribute(const std::string& name) {
    static const std::set<std::string> names{"position", "size", "minimized", "title",
                                             "subrole",  "role", "number"};
    return names.count(name) != 0;
}

// A window of another application. The element is its identity and is never issued again.
struct SimWindow {
    ElementRef element;
    AppRef app;
    Pid pid = 0;
    std::string title;
    Rect frame;  // accessibility space
    std::string subrole{ax::subrole::kStandardWindow};
    std::string role{ax::role::kWindow};
    bool minimized = false;
    WindowNumber number = 0;
    bool pinned = false;            // position writes succeed but nothing moves
    bool clamped = false;           // position writes succeed but keep it inside the screens
    std::set<std::string> failing;  // names accepted by isFailableAttribute
    bool closed = false;

    bool fails(const char* attribute) const { return failing.count(attribute) != 0; }
};

// What `win open` asks for.
struct SimWindowSpec {
    SimWindowSpec() = default;
    SimWindowSpec(std::string title, Rect frame,
                  std::string subrole = std::string(ax::subrole::kStandardWindow),
                  std::optional<WindowNumber> number = std::nullopt)
        : title(std::move(title)), frame(frame), subrole(std::move(subrole)), number(number) {}

    std::string title;
    Rect frame;
    std::string subrole{ax::subrole::kStandardWindow};
    std::optional<WindowNumber> number;  // assigned from 100 upwards when absent; 0 means none
};

}  // namespace nimbrel::sim
