#pragma once

#include <optional>
#include <string>

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "settings/KeyCombo.h"
#include "settings/LiveWindow.h"
#include "settings/Uuid.h"

namespace nimbrel {

// A designated window, or a whole application, with its own shortcut, lock and border.
struct WindowBinding {
    Uuid id;
    std::optional<std::string> bundleID;
    std::string appName;
    std::string title;
    std::optional<KeyCombo> combo;
    bool locked = false;
    bool wholeApp = false;
    std::optional<WindowNumber> windowNumber;
    bool keepWhenMissing = false;

    std::string label(const Localizer& strings) const;
    bool matchesApp(const LiveApp& app) const;
    // The window number decides when both sides know one; otherwise the exact title does.
    bool matches(const LiveWindow& window) const;

    static std::optional<WindowBinding> fromJson(const Json& json);
    Json toJson() const;

    friend bool operator==(const WindowBinding&, const WindowBinding&) = default;
};

}  // namespace nimbrel
