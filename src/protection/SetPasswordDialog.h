#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/LifetimeGuard.h"
#include "platform/Localizer.h"
#include "platform/Sound.h"
#include "protection/AppPassword.h"
#include "protection/Auth.h"
#include "protection/PasswordPanel.h"

namespace nimbrel {

// Sets or changes the application password, after the user has authenticated.
class SetPasswordDialog {
  public:
    SetPasswordDialog(AppPassword& password, Auth& auth, PasswordPanel& panel, Sound& sound,
                      const Localizer& strings)
        : password_(password), auth_(auth), panel_(panel), sound_(sound), strings_(strings) {}
    SetPasswordDialog(const SetPasswordDialog&) = delete;
    SetPasswordDialog& operator=(const SetPasswordDialog&) = delete;

    // True once a new password is stored. Refused entries ask again until the user cancels. A
    // dialog destroyed before the authentication answers completes with false.
    void setInteractively(std::function<void(bool)> completion);

  private:
    bool runDialog();
    // The alert for a refused password; none when it is acceptable.
    std::optional<std::string> refusal(const std::string& first, const std::string& second);

    AppPassword& password_;
    Auth& auth_;
    PasswordPanel& panel_;
    Sound& sound_;
    const Localizer& strings_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
