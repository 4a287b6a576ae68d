#pragma once

#include <optional>
#include <string>

#include "platform/UserDefaults.h"
#include "settings/LiveWindow.h"

namespace nimbrel {

// An application that focus mode leaves visible.
struct AllowedApp {
    std::optional<std::string> bundleID;
    std::string name;

    // The bundle identifier when known; applications without one are known by name.
    const std::string& id() const { return bundleID ? *bundleID : name; }
    bool allows(const LiveApp& app) const;

    static std::optional<AllowedApp> fromJson(const Json& json);
    Json toJson() const;

    friend bool operator==(const AllowedApp&, const AllowedApp&) = default;
};

}  // namespace nimbrel
