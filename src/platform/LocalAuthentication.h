#pragma once

#include <functional>
#include <optional>
#include <string>

namespace nimbrel {

// The platform's user-authentication policies, with the platform's raw values.
enum class AuthPolicy {
    deviceOwnerAuthenticationWithBiometrics = 1,  // Touch ID only
    deviceOwnerAuthentication = 2,                // Touch ID or the account password
};

// How an evaluation ended. The program relies on telling success and the user's cancel apart from
// every other failure; the rest are kept so that nothing has to be folded away in the platform.
enum class AuthOutcome {
    success,
    userCancel,    // the user dismissed the sheet
    userFallback,  // the user chose the fallback button
    authenticationFailed,
    systemCancel,
    biometryLockout,
    notAvailable,  // the policy cannot be evaluated (nothing enrolled, no such hardware)
};

// Called once per evaluation, after evaluate() has returned, on a queue of the platform that need
// not be the main loop's.
using AuthReply = std::function<void(AuthOutcome)>;

// The system's authentication sheet. Every call stands alone: nothing is remembered between
// evaluations, so every protected action asks again.
class LocalAuthentication {
  public:
    virtual ~LocalAuthentication() = default;

    // Whether the policy can be attempted now.
    virtual bool canEvaluate(AuthPolicy policy) = 0;
    // Shows the sheet with the reason. `fallbackTitle` names the sheet's fallback button; an empty
    // title hides the button, none leaves the system's own.
    virtual void evaluate(AuthPolicy policy, const std::string& reason,
                          const std::optional<std::string>& fallbackTitle, AuthReply reply) = 0;
};

}  // namespace nimbrel
