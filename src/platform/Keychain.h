#pragma once

#include <optional>
#include <string>

namespace nimbrel {

// The answers of the keychain that the program tells apart. Everything else is `failure`.
enum class KeychainStatus {
    success,
    itemNotFound,
    duplicateItem,
    interactionNotAllowed,  // the keychain is locked and may not ask the user to unlock it
    accessDenied,           // the user or the system refused the program this item
    failure,
};

// When an item may be read. The ThisDeviceOnly classes are never synchronised or migrated to
// another device.
enum class KeychainAccessibility {
    whenUnlocked,
    whenUnlockedThisDeviceOnly,
    afterFirstUnlock,
    afterFirstUnlockThisDeviceOnly,
};

// Names one generic-password item of the user's keychain.
struct KeychainQuery {
    std::string service;
    std::string account;
};

// A generic-password item as first added. No synchronisable flag and no access group: the
// program's items stay in the login keychain of this device.
struct KeychainItem {
    std::string service;
    std::string account;
    std::string data;
    std::string label;
    KeychainAccessibility accessibility = KeychainAccessibility::whenUnlockedThisDeviceOnly;
    friend bool operator==(const KeychainItem&, const KeychainItem&) = default;
};

// Generic-password items of the user's keychain. Calls are synchronous and may fail at any time
// (a locked keychain, a denied access); the status says how.
class Keychain {
  public:
    virtual ~Keychain() = default;

    // The data of the matching item. With success, `data` may still be empty when the item holds
    // something other than data.
    virtual KeychainStatus copyMatching(const KeychainQuery& query,
                                        std::optional<std::string>& data) = 0;
    // Replaces only the data; the item keeps its label and accessibility.
    virtual KeychainStatus update(const KeychainQuery& query, const std::string& data) = 0;
    // duplicateItem when an item with the same service and account exists.
    virtual KeychainStatus add(const KeychainItem& item) = 0;
    virtual KeychainStatus remove(const KeychainQuery& query) = 0;
};

}  // namespace nimbrel
