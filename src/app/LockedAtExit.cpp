#include "app/LockedAtExit.h"

#include "platform/StoredJson.h"

namespace nimbrel {
namespace {

constexpr const char* kLockedAtExitKey = "lockedAtExit.v1";

}  // namespace

void LockedAtExit::save(UserDefaults& defaults) const {
    if (windows.empty()) {
        return;
    }
    Json list = Json::array();
    for (const auto& key : windows) {
        list.push_back(key.toJson());
    }
    defaults.setData(kLockedAtExitKey, Json{{"windows", std::move(list)}}.dump());
}

LockedAtExit LockedAtExit::take(UserDefaults& defaults) {
    LockedAtExit record;
    auto bytes = defaults.data(kLockedAtExitKey);
    if (!bytes) {
        return record;
    }
    defaults.remove(kLockedAtExitKey);
    auto json = parseStoredJson(*bytes);
    if (!json || !json->is_object() || !json->contains("windows") ||
        !(*json)["windows"].is_array()) {
        return record;
    }
    for (const auto& entry : (*json)["windows"]) {
        if (auto key = WindowKey::fromJson(entry)) {
            record.windows.push_back(*key);
        }
    }
    return record;
}

}  // namespace nimbrel
