#pragma once

#include <optional>
#include <string>

#include "platform/Keychain.h"
#include "protection/PasswordStorage.h"

namespace nimbrel {

// The password record as one generic-password item of the user's login keychain.
class KeychainStorage final : public PasswordStorage {
  public:
    static constexpr const char* kLabel = "Nimbrel password (hash)";
    static constexpr const char* kAccount = "record";

    KeychainStorage(Keychain& keychain, std::string service, std::string account = kAccount)
        : keychain_(keychain), query_{std::move(service), std::move(account)} {}
    KeychainStorage(const KeychainStorage&) = delete;
    KeychainStorage& operator=(const KeychainStorage&) = delete;

    // The item's service for the running application: its bundle identifier, or the program's
    // own when it runs without one, followed by ".appPassword".
    static std::string serviceFor(const std::optional<std::string>& bundleIdentifier);

    std::optional<PasswordRecord> load() override;
    void save(const PasswordRecord& record) override;
    bool remove() override;

    const KeychainQuery& query() const { return query_; }

  private:
    Keychain& keychain_;
    KeychainQuery query_;
};

}  // namespace nimbrel
