#include "app/notices/ScreenChoice.h"

namespace nimbrel {

ScreenChoice ScreenChoice::fromIdentifier(std::string_view identifier) {
    if (identifier.empty()) {
        return original();
    }
    if (identifier == "mouse") {
        return mouse();
    }
    return display(std::string(identifier));
}

std::string ScreenChoice::identifier() const {
    switch (kind_) {
        case Kind::original:
            return "";
        case Kind::mouse:
            return "mouse";
        case Kind::display:
            return uuid_;
    }
    return "";
}

std::optional<Screen> ScreenChoice::resolve(const std::vector<Screen>& screens,
                                            Point mouseLocation) const {
    for (const Screen& screen : screens) {
        switch (kind_) {
            case Kind::original:
                return std::nullopt;
            case Kind::mouse:
                if (screen.frame.containsInScreenSpace(mouseLocation)) {
                    return screen;
                }
                break;
            case Kind::display:
                // A screen whose UUID could not be read must not match an empty payload.
                if (!uuid_.empty() && screen.uuid == uuid_) {
                    return screen;
                }
                break;
        }
    }
    return std::nullopt;
}

std::optional<Screen> ScreenChoice::resolve(Screens& screens) const {
    if (kind_ == Kind::original) {
        return std::nullopt;
    }
    return resolve(screens.screens(), screens.mouseLocation());
}

}  // namespace nimbrel
