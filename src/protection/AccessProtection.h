#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Alerts.h"
#include "platform/Application.h"
#include "platform/Keychain.h"
#include "platform/LocalAuthentication.h"
#include "platform/Localizer.h"
#include "platform/MainLoop.h"
#include "platform/Sound.h"
#include "platform/UserDefaults.h"
#include "protection/AppPassword.h"
#include "protection/Auth.h"
#include "protection/KeychainStorage.h"
#include "protection/PasswordCrypto.h"
#include "protection/PasswordPanel.h"
#include "protection/PasswordPrompt.h"
#include "protection/SetPasswordDialog.h"

namespace nimbrel {

// The platform services access protection works with.
struct ProtectionServices {
    Keychain& keychain;
    LocalAuthentication& localAuthentication;
    Alerts& alerts;
    UserDefaults& defaults;
    Application& application;
    Sound& sound;
    MainLoop& loop;
    const Localizer& strings;
    std::optional<std::string> bundleIdentifier;  // of the running application
    PasswordPanel::NoticeScreen noticeScreen;     // may be empty
    std::string locale = "en";                    // for the lock-out time
};

// The password, its storage and the authentication gate, wired together once by the delegate.
class AccessProtection {
  public:
    // Without a crypto, the system's (OpenSSL) is used.
    explicit AccessProtection(const ProtectionServices& services,
                              std::unique_ptr<PasswordCrypto> crypto = nullptr);
    AccessProtection(const AccessProtection&) = delete;
    AccessProtection& operator=(const AccessProtection&) = delete;

    AppPassword& password() { return password_; }
    Auth& auth() { return auth_; }
    PasswordPrompt& prompt() { return prompt_; }
    SetPasswordDialog& setPasswordDialog() { return dialog_; }
    KeychainStorage& storage() { return storage_; }

  private:
    std::unique_ptr<PasswordCrypto> crypto_;
    KeychainStorage storage_;
    AppPassword password_;
    PasswordPanel panel_;
    PasswordPrompt prompt_;
    Auth auth_;
    SetPasswordDialog dialog_;
};

}  // namespace nimbrel
