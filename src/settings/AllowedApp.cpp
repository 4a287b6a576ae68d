#include "settings/AllowedApp.h"

#include "settings/JsonValue.h"

namespace nimbrel {

bool AllowedApp::allows(const LiveApp& app) const {
    if (bundleID) {
        return app.bundleID && *app.bundleID == *bundleID;
    }
    return app.localizedName && *app.localizedName == name;
}

std::optional<AllowedApp> AllowedApp::fromJson(const Json& json) {
    if (!json.is_object()) {
        return std::nullopt;
    }
    AllowedApp app;
    if (!json::readKey(json, "bundleID", app.bundleID, false) ||
        !json::readKey(json, "name", app.name, true)) {
        return std::nullopt;
    }
    return app;
}

Json AllowedApp::toJson() const {
    Json out = Json::object();
    if (bundleID) {
        out["bundleID"] = *bundleID;
    }
    out["name"] = name;
    return out;
}

}  // namespace nimbrel
