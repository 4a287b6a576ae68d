#pragma once

#include <optional>
#include <string>

#include "platform/LocalAuthentication.h"
#include "platform/x11/SecretBytes.h"

namespace nimbrel::x11 {

// Checks an account's password through a PAM service: pam_authenticate, then pam_acct_mgmt, with
// a conversation that answers the one hidden prompt with the password. Blocks for as long as the
// service's modules take (about two seconds after a wrong password), so it belongs off the main
// thread.
//
// The answers: success; authenticationFailed when the service refuses the password or the
// account; notAvailable when PAM itself fails (no such service and no fallback, a module that
// does not load, an unknown user, a prompt the conversation cannot answer). A failure of PAM is
// never a success.
class PamVerifier {
  public:
    PamVerifier(std::string service, std::string user)
        : service_(std::move(service)), user_(std::move(user)) {}

    AuthOutcome verify(const SecretBytes& password) const;

    // The name of the account running the program; none when the system does not know it.
    static std::optional<std::string> currentUser();

  private:
    std::string service_;
    std::string user_;
};

}  // namespace nimbrel::x11
