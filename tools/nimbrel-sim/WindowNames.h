#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Handles.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {

// The names a script gives its windows, both ways. A window the script did not name is called
// "#NUMBER" after its window number; that form is accepted wherever a name is.
class WindowNames {
  public:
    explicit WindowNames(sim::SimDesktop& desktop) : desktop_(desktop) {}
    WindowNames(const WindowNames&) = delete;
    WindowNames& operator=(const WindowNames&) = delete;

    // A name of a closed window may be given to a new one; a name of an open window may not.
    bool canBind(std::string_view name) const;
    void bind(const std::string& name, ElementRef window);
    // The named window (open or closed), or the open window "#NUMBER"; none when unknown.
    std::optional<ElementRef> element(std::string_view name) const;
    // The script's name, else "#NUMBER".
    std::string nameOf(ElementRef window) const;

  private:
    sim::SimDesktop& desktop_;
    std::map<std::string, ElementRef, std::less<>> byName_;
    std::map<std::uint64_t, std::string> byElement_;
};

}  // namespace nimbrel::console
