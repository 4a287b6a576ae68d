#include "app/update/UpdateResume.h"

#include <cmath>

#include "platform/StoredJson.h"
#include "settings/JsonValue.h"

namespace nimbrel {

namespace {
constexpr const char* kResumeKey = "resume.v1";
// A clock stepped back by up to a minute is tolerated; a record older than ten minutes is stale.
constexpr double kMinAge = -60;
constexpr double kMaxAge = 600;
}  // namespace

Json UpdateResume::toJson() const {
    Json json = Json::object();
    json["savedAt"] = savedAt;
    Json list = Json::array();
    for (const auto& window : windows) {
        Json entry = Json::object();
        entry["key"] = window.key.toJson();
        entry["locked"] = window.locked;
        entry["focus"] = window.focus;
        list.push_back(std::move(entry));
    }
    json["windows"] = std::move(list);
    if (focusLocked) {
        json["focusLocked"] = *focusLocked;
    }
    json["regions"] = json::write(regions);
    return json;
}

std::optional<UpdateResume> UpdateResume::fromJson(const Json& json) {
    if (!json.is_object()) {
        return std::nullopt;
    }
    auto savedAt = json.find("savedAt");
    auto windows = json.find("windows");
    auto regions = json.find("regions");
    if (savedAt == json.end() || !savedAt->is_number() || windows == json.end() ||
        !windows->is_array() || regions == json.end() || !regions->is_array()) {
        return std::nullopt;
    }
    UpdateResume record;
    if (!json::read(*savedAt, record.savedAt)) {
        return std::nullopt;
    }
    for (const auto& entry : *windows) {
        if (!entry.is_object() || !entry.contains("key") || !entry.contains("locked") ||
            !entry.contains("focus") || !entry["locked"].is_boolean() ||
            !entry["focus"].is_boolean()) {
            return std::nullopt;
        }
        auto key = WindowKey::fromJson(entry["key"]);
        if (!key) {
            return std::nullopt;
        }
        record.windows.push_back({*key, entry["locked"].get<bool>(), entry["focus"].get<bool>()});
    }
    if (auto focus = json.find("focusLocked"); focus != json.end()) {
        if (!focus->is_boolean()) {
            return std::nullopt;
        }
        record.focusLocked = focus->get<bool>();
    }
    if (!json::read(*regions, record.regions)) {
        return std::nullopt;
    }
    for (const auto& region : record.regions) {
        if (region.rect.width < 0 || region.rect.height < 0) {
            return std::nullopt;
        }
    }
    return record;
}

void UpdateResume::save(UserDefaults& defaults) const {
    if (!std::isfinite(savedAt)) {
        return;
    }
    std::string bytes;
    try {
        bytes = toJson().dump();
    } catch (const Json::exception&) {
        return;
    }
    defaults.setData(kResumeKey, bytes);
}

std::optional<UpdateResume> UpdateResume::take(UserDefaults& defaults, TimePoint now) {
    auto bytes = defaults.data(kResumeKey);
    if (!bytes) {
        return std::nullopt;
    }
    // Removed before decoding, so that a bad record is never read twice.
    defaults.remove(kResumeKey);
    auto json = parseStoredJson(*bytes);
    if (!json) {
        return std::nullopt;
    }
    auto record = fromJson(*json);
    if (!record) {
        return std::nullopt;
    }
    double age = now - record->savedAt;
    if (!(age >= kMinAge && age <= kMaxAge)) {
        return std::nullopt;
    }
    return record;
}

}  // namespace nimbrel
