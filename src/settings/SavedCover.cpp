#include "settings/SavedCover.h"

#include <cmath>

#include "settings/JsonValue.h"

namespace nimbrel {
namespace {

// A rectangle is [[x, y], [width, height]].
bool readRect(const Json& json, Rect& out) {
    if (!json.is_array() || json.size() != 2 || !json[0].is_array() || json[0].size() != 2 ||
        !json[1].is_array() || json[1].size() != 2) {
        return false;
    }
    Rect r;
    if (!json::read(json[0][0], r.x) || !json::read(json[0][1], r.y) ||
        !json::read(json[1][0], r.width) || !json::read(json[1][1], r.height)) {
        return false;
    }
    out = r;
    return true;
}

Json writeRect(const Rect& r) {
    return Json::array({Json::array({r.x, r.y}), Json::array({r.width, r.height})});
}

}  // namespace

std::optional<SavedCover::Window> SavedCover::Window::fromJson(const Json& json) {
    Window w;
    if (!json.is_object() || !json::readKey(json, "bundleID", w.bundleID, false) ||
        !json::readKey(json, "appName", w.appName, true) ||
        !json::readKey(json, "title", w.title, true) ||
        !json::readKey(json, "number", w.number, false)) {
        return std::nullopt;
    }
    return w;
}

Json SavedCover::Window::toJson() const {
    Json out = Json::object();
    if (bundleID) {
        out["bundleID"] = *bundleID;
    }
    out["appName"] = appName;
    out["title"] = title;
    if (number) {
        out["number"] = *number;
    }
    return out;
}

bool SavedCover::Region::hasCoverExtent() const {
    auto within = [](double v) { return std::abs(v) <= kMaximumExtent; };
    return rect.width > 0 && rect.height > 0 && within(rect.x) && within(rect.y) &&
           within(rect.width) && within(rect.height);
}

std::optional<SavedCover::Region> SavedCover::Region::fromJson(const Json& json) {
    Region region;
    if (!json.is_object() || !json::readKey(json, "window", region.window, false)) {
        return std::nullopt;
    }
    auto rect = json.find("rect");
    if (rect == json.end() || !readRect(*rect, region.rect)) {
        return std::nullopt;
    }
    return region;
}

Json SavedCover::Region::toJson() const {
    Json out = Json::object();
    if (window) {
        out["window"] = window->toJson();
    }
    out["rect"] = writeRect(rect);
    return out;
}

std::optional<SavedCover> SavedCover::fromJson(const Json& json) {
    SavedCover cover;
    std::string id;
    if (!json.is_object() || !json::readKey(json, "id", id, true) ||
        !json::readKey(json, "name", cover.name, true) ||
        !json::readKey(json, "regions", cover.regions, true)) {
        return std::nullopt;
    }
    auto uuid = Uuid::parse(id);
    if (!uuid) {
        return std::nullopt;
    }
    cover.id = *uuid;
    return cover;
}

Json SavedCover::toJson() const {
    Json out = Json::object();
    out["id"] = id.string();
    out["name"] = name;
    out["regions"] = json::write(regions);
    return out;
}

}  // namespace nimbrel
