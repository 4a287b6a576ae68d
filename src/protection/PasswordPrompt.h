#pragma once

#include <functional>
#include <string>

#include "platform/Localizer.h"
#include "platform/MainLoop.h"
#include "platform/Sound.h"
#include "protection/AppPassword.h"
#include "protection/PasswordPanel.h"

namespace nimbrel {

// Asks for the application password, a few tries at a time, and never past a lock-out.
class PasswordPrompt {
  public:
    static constexpr int kPromptTries = 3;

    PasswordPrompt(AppPassword& password, PasswordPanel& panel, Sound& sound, MainLoop& loop,
                   const Localizer& strings, std::string locale)
        : password_(password),
          panel_(panel),
          sound_(sound),
          loop_(loop),
          strings_(strings),
          locale_(std::move(locale)) {}
    PasswordPrompt(const PasswordPrompt&) = delete;
    PasswordPrompt& operator=(const PasswordPrompt&) = delete;

    // Modal: the completion runs, once, before this returns.
    void promptForPassword(const std::string& reason, const std::function<void(bool)>& completion);
    // The lock-out alert with the time left until `until`.
    void showLockout(TimePoint until);

  private:
    bool ask(const std::string& reason);

    AppPassword& password_;
    PasswordPanel& panel_;
    Sound& sound_;
    MainLoop& loop_;
    const Localizer& strings_;
    std::string locale_;
};

}  // namespace nimbrel
