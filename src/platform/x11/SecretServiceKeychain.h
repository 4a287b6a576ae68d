#pragma once

#include <string>

#include "platform/x11/ServiceKeychain.h"

namespace nimbrel::x11 {

// Generic-password items in the session's Secret Service (gnome-keyring, KWallet) through
// libsecret, one item per record. The service, account and program name the item in its
// attributes, so other programs' items never match; new items go into the default collection.
//
// It never asks the user: a locked collection or item answers `interactionNotAllowed`, since an
// unlock prompt from inside a synchronous call would hold the program's loop for as long as the
// user takes. The bus is the session's (`DBUS_SESSION_BUS_ADDRESS`). A failing bus or service
// answers `failure`, and the next call connects afresh, so a keyring daemon that was restarted
// is found again.
class SecretServiceKeychain final : public ServiceKeychain {
  public:
    // `application` is the program's name in each item's attributes.
    explicit SecretServiceKeychain(std::string application)
        : application_(std::move(application)) {}

    State state() override;
    KeychainStatus copyMatching(const KeychainQuery& query,
                                std::optional<std::string>& data) override;
    KeychainStatus update(const KeychainQuery& query, const std::string& data) override;
    KeychainStatus add(const KeychainItem& item) override;
    KeychainStatus remove(const KeychainQuery& query) override;

  private:
    std::string application_;
};

}  // namespace nimbrel::x11
