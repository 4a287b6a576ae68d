#include "protection/KeychainStorage.h"

namespace nimbrel {

std::string KeychainStorage::serviceFor(const std::optional<std::string>& bundleIdentifier) {
    std::string base =
        bundleIdentifier && !bundleIdentifier->empty() ? *bundleIdentifier : "com.plovek.nimbrel";
    return base + ".appPassword";
}

std::optional<PasswordRecord> KeychainStorage::load() {
    std::optional<std::string> data;
    if (keychain_.copyMatching(query_, data) != KeychainStatus::success || !data) {
        return std::nullopt;
    }
    return PasswordRecord::decoded(*data);
}

void KeychainStorage::save(const PasswordRecord& record) {
    auto json = record.encoded();
    if (!json) {
        return;
    }
    // Updating first keeps the label and accessibility the item was created with.
    if (keychain_.update(query_, *json) != KeychainStatus::itemNotFound) {
        return;
    }
    keychain_.add(KeychainItem{query_.service, query_.account, *json, kLabel,
                               KeychainAccessibility::whenUnlockedThisDeviceOnly});
}

bool KeychainStorage::remove() {
    KeychainStatus status = keychain_.remove(query_);
    return status == KeychainStatus::success || status == KeychainStatus::itemNotFound;
}

}  // namespace nimbrel
