#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Screens.h"

namespace nimbrel {

// Which screen notices, the program's own windows and revealed windows go to. The settings keep
// it as an identifier string: "" is `original`, "mouse" is `mouse`, anything else names a display
// by its UUID.
class ScreenChoice {
  public:
    enum class Kind { original, mouse, display };

    ScreenChoice() = default;
    static ScreenChoice original() { return {}; }
    static ScreenChoice mouse() { return ScreenChoice(Kind::mouse, {}); }
    static ScreenChoice display(std::string uuid) {
        return ScreenChoice(Kind::display, std::move(uuid));
    }

    static ScreenChoice fromIdentifier(std::string_view identifier);
    std::string identifier() const;

    Kind kind() const { return kind_; }
    // The display's UUID for `display`; empty otherwise.
    const std::string& displayUUID() const { return uuid_; }

    // The screen this choice selects among the connected ones: for `display` the screen with that
    // UUID, for `mouse` the first screen whose frame holds the pointer (screen space), for
    // `original` none. A display that is not connected selects none.
    std::optional<Screen> resolve(const std::vector<Screen>& screens, Point mouseLocation) const;
    std::optional<Screen> resolve(Screens& screens) const;

    friend bool operator==(const ScreenChoice&, const ScreenChoice&) = default;

  private:
    ScreenChoice(Kind kind, std::string uuid) : kind_(kind), uuid_(std::move(uuid)) {}

    Kind kind_ = Kind::original;
    std::string uuid_;
};

// Answers the user's current choice at the moment it is needed; the application wires it to the
// settings store, so a change of the setting takes effect on the next notice.
using CurrentScreenChoice = std::function<ScreenChoice()>;

}  // namespace nimbrel
