#include "platform/x11/FileKeychain.h"

#include <algorithm>

#include "platform/StoredJson.h"
#include "platform/UserDefaults.h"
#include "platform/x11/Base64.h"

namespace nimbrel::x11 {
namespace {

constexpr std::pair<KeychainAccessibility, const char*> kAccessibilityNames[] = {
    {KeychainAccessibility::whenUnlocked, "whenUnlocked"},
    {KeychainAccessibility::whenUnlockedThisDeviceOnly, "whenUnlockedThisDeviceOnly"},
    {KeychainAccessibility::afterFirstUnlock, "afterFirstUnlock"},
    {KeychainAccessibility::afterFirstUnlockThisDeviceOnly, "afterFirstUnlockThisDeviceOnly"},
};

const char* accessibilityName(KeychainAccessibility accessibility) {
    for (const auto& [value, name] : kAccessibilityNames) {
        if (value == accessibility) {
            return name;
        }
    }
    return kAccessibilityNames[1].second;
}

std::optional<KeychainAccessibility> accessibilityNamed(const std::string& text) {
    for (const auto& [value, name] : kAccessibilityNames) {
        if (text == name) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<std::string> stringField(const Json& item, const char* name) {
    auto it = item.find(name);
    if (it == item.end() || !it->is_string()) {
        return std::nullopt;
    }
    return it->get<std::string>();
}

std::optional<KeychainItem> decodeItem(const Json& item) {
    if (!item.is_object()) {
        return std::nullopt;
    }
    auto service = stringField(item, "service");
    auto account = stringField(item, "account");
    auto label = stringField(item, "label");
    auto encoded = stringField(item, "data");
    auto accessibility = stringField(item, "accessibility");
    if (!service || !account || !label || !encoded || !accessibility) {
        return std::nullopt;
    }
    auto data = fromBase64(*encoded);
    auto access = accessibilityNamed(*accessibility);
    if (!data || !access) {
        return std::nullopt;
    }
    return KeychainItem{*service, *account, *data, *label, *access};
}

bool matches(const KeychainItem& item, const KeychainQuery& query) {
    return item.service == query.service && item.account == query.account;
}

}  // namespace

std::optional<std::vector<KeychainItem>> FileKeychain::load() {
    auto contents = file_.read();
    if (contents.status == PrivateFile::ReadStatus::absent) {
        return std::vector<KeychainItem>{};
    }
    std::optional<std::vector<KeychainItem>> items;
    if (contents.status == PrivateFile::ReadStatus::read) {
        auto parsed = parseStoredJson(contents.bytes);
        if (parsed && parsed->is_array()) {
            items.emplace();
            for (const Json& entry : *parsed) {
                auto item = decodeItem(entry);
                if (!item) {
                    items.reset();
                    break;
                }
                items->push_back(std::move(*item));
            }
        }
    }
    if (!items && !reportedDamage_) {
        reportedDamage_ = true;
        log_.log("keychain: cannot read " + file_.path().string() +
                 "; the stored password is unavailable until the file is repaired or removed");
    }
    return items;
}

KeychainStatus FileKeychain::store(const std::vector<KeychainItem>& items) {
    Json document = Json::array();
    for (const auto& item : items) {
        document.push_back(Json{{"service", item.service},
                                {"account", item.account},
                                {"label", item.label},
                                {"accessibility", accessibilityName(item.accessibility)},
                                {"data", toBase64(item.data)}});
    }
    if (!file_.writeAtomically(document.dump(2, ' ', false, Json::error_handler_t::replace) +
                               "\n")) {
        log_.log("keychain: cannot write " + file_.path().string());
        return KeychainStatus::failure;
    }
    return KeychainStatus::success;
}

KeychainStatus FileKeychain::withItem(const KeychainQuery& query, const ItemAction& act) {
    auto items = load();
    if (!items) {
        return KeychainStatus::failure;
    }
    auto it = std::find_if(items->begin(), items->end(),
                           [&](const KeychainItem& item) { return matches(item, query); });
    if (it == items->end()) {
        return KeychainStatus::itemNotFound;
    }
    return act(*items, it);
}

KeychainStatus FileKeychain::copyMatching(const KeychainQuery& query,
                                          std::optional<std::string>& data) {
    return withItem(query, [&](Items&, Items::iterator item) {
        data = item->data;
        return KeychainStatus::success;
    });
}

KeychainStatus FileKeychain::update(const KeychainQuery& query, const std::string& data) {
    return withItem(query, [&](Items& items, Items::iterator item) {
        item->data = data;
        return store(items);
    });
}

KeychainStatus FileKeychain::remove(const KeychainQuery& query) {
    return withItem(query, [&](Items& items, Items::iterator item) {
        items.erase(item);
        return store(items);
    });
}

KeychainStatus FileKeychain::removeEach(const std::vector<KeychainQuery>& queries) {
    auto items = load();
    if (!items) {
        return KeychainStatus::failure;
    }
    std::erase_if(*items, [&](const KeychainItem& item) {
        return std::any_of(queries.begin(), queries.end(),
                           [&](const KeychainQuery& query) { return matches(item, query); });
    });
    return store(*items);
}

KeychainStatus FileKeychain::add(const KeychainItem& item) {
    auto items = load();
    if (!items) {
        return KeychainStatus::failure;
    }
    KeychainQuery query{item.service, item.account};
    if (std::any_of(items->begin(), items->end(),
                    [&](const KeychainItem& existing) { return matches(existing, query); })) {
        return KeychainStatus::duplicateItem;
    }
    items->push_back(item);
    return store(*items);
}

}  // namespace nimbrel::x11
