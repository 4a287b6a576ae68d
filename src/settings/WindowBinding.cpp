#include "settings/WindowBinding.h"

#include "settings/JsonValue.h"
#include "settings/WindowLabel.h"

namespace nimbrel {

std::string WindowBinding::label(const Localizer& strings) const {
    if (wholeApp) {
        return strings.text("window.label.wholeApp"_key, {appName});
    }
    return windowLabel(strings, appName, title);
}

bool WindowBinding::matchesApp(const LiveApp& app) const {
    if (bundleID) {
        return app.bundleID && *app.bundleID == *bundleID;
    }
    return app.localizedName && *app.localizedName == appName;
}

bool WindowBinding::matches(const LiveWindow& window) const {
    if (!matchesApp(window.app)) {
        return false;
    }
    if (wholeApp) {
        return true;
    }
    if (windowNumber && window.number && *window.number != 0) {
        return *window.number == *windowNumber;
    }
    return window.title == title;
}

std::optional<WindowBinding> WindowBinding::fromJson(const Json& json) {
    if (!json.is_object()) {
        return std::nullopt;
    }
    WindowBinding b;
    std::string id;
    bool ok = json::readKey(json, "id", id, true) &&
              json::readKey(json, "bundleID", b.bundleID, false) &&
              json::readKey(json, "appName", b.appName, true) &&
              json::readKey(json, "title", b.title, true) &&
              json::readKey(json, "combo", b.combo, false) &&
              json::readKey(json, "locked", b.locked, true) &&
              json::readKey(json, "wholeApp", b.wholeApp, false) &&
              json::readKey(json, "windowNumber", b.windowNumber, false) &&
              json::readKey(json, "keepWhenMissing", b.keepWhenMissing, false);
    if (!ok) {
        return std::nullopt;
    }
    auto uuid = Uuid::parse(id);
    if (!uuid) {
        return std::nullopt;
    }
    b.id = *uuid;
    return b;
}

Json WindowBinding::toJson() const {
    Json out = Json::object();
    out["id"] = id.string();
    if (bundleID) {
        out["bundleID"] = *bundleID;
    }
    out["appName"] = appName;
    out["title"] = title;
    if (combo) {
        out["combo"] = combo->toJson();
    }
    out["locked"] = locked;
    out["wholeApp"] = wholeApp;
    if (windowNumber) {
        out["windowNumber"] = *windowNumber;
    }
    out["keepWhenMissing"] = keepWhenMissing;
    return out;
}

}  // namespace nimbrel
