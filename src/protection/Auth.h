#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/LifetimeGuard.h"
#include "platform/LocalAuthentication.h"
#include "platform/Localizer.h"
#include "platform/MainLoop.h"
#include "protection/AppPassword.h"
#include "protection/OnceCompletion.h"
#include "protection/PasswordPrompt.h"

namespace nimbrel {

// The one gate in front of every protected action. From the state of the application password it
// chooses Touch ID, the Mac owner's authentication or the program's own prompt. Nothing is kept
// between requests: every protected action asks again.
class Auth {
  public:
    Auth(AppPassword& password, PasswordPrompt& prompt, LocalAuthentication& localAuthentication,
         MainLoop& loop, const Localizer& strings)
        : password_(password),
          prompt_(prompt),
          localAuthentication_(localAuthentication),
          loop_(loop),
          strings_(strings) {}
    Auth(const Auth&) = delete;
    Auth& operator=(const Auth&) = delete;

    // The completion runs exactly once, on the main loop: after the system's reply has been
    // brought back to it, or before this returns when the answer is known at once or the
    // program's own modal prompt gives it. A gate destroyed while a reply is outstanding answers
    // false.
    void authenticate(const std::string& reason, std::function<void(bool)> completion);

  private:
    enum class OnFailure { refuse, promptForPassword };
    void evaluate(AuthPolicy policy, const std::string& reason,
                  const std::optional<std::string>& fallbackTitle, OnFailure onFailure,
                  OnceCompletion completion);

    AppPassword& password_;
    PasswordPrompt& prompt_;
    LocalAuthentication& localAuthentication_;
    MainLoop& loop_;
    const Localizer& strings_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
