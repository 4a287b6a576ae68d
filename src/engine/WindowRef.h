#pragma once

#include <string>

#include "platform/Handles.h"

namespace nimbrel {

// The engine's handle on one window of another application. Identity is the element alone: the
// title is what it was when the reference was taken, and the application never takes part.
struct WindowRef {
    ElementRef element;
    AppRef app;
    std::string title;

    bool isSameWindow(const WindowRef& other) const { return element == other.element; }
};

}  // namespace nimbrel
