#pragma once

#include <cstdint>
#include <functional>

namespace nimbrel {

using Pid = std::int32_t;
using WindowNumber = std::uint32_t;

// Opaque handles issued by the platform layer. Two handles are the same object exactly when they
// compare equal; the program never looks inside them. 0 is never issued.

// An accessibility element: a window, an application or the system-wide element.
struct ElementRef {
    std::uint64_t id = 0;
    explicit operator bool() const { return id != 0; }
    friend bool operator==(const ElementRef&, const ElementRef&) = default;
};

// One running instance of an application. A relaunched application is a new instance, even when
// the platform hands it the same process id again.
struct AppRef {
    std::uint64_t id = 0;
    explicit operator bool() const { return id != 0; }
    friend bool operator==(const AppRef&, const AppRef&) = default;
};

// An accessibility observer of one process.
struct ObserverRef {
    std::uint64_t id = 0;
    explicit operator bool() const { return id != 0; }
    friend bool operator==(const ObserverRef&, const ObserverRef&) = default;
};

}  // namespace nimbrel

template <>
struct std::hash<nimbrel::ElementRef> {
    std::size_t operator()(const nimbrel::ElementRef& e) const noexcept {
        return std::hash<std::uint64_t>{}(e.id);
    }
};
template <>
struct std::hash<nimbrel::AppRef> {
    std::size_t operator()(const nimbrel::AppRef& a) const noexcept {
        return std::hash<std::uint64_t>{}(a.id);
    }
};
