#include "platform/sim/SimLocalAuthentication.h"

#include <utility>

#include "platform/sim/SimMainLoop.h"

namespace nimbrel::sim {

bool SimLocalAuthentication::canEvaluate(AuthPolicy policy) {
    return policy == AuthPolicy::deviceOwnerAuthenticationWithBiometrics ? biometrics_ : owner_;
}

void SimLocalAuthentication::evaluate(AuthPolicy policy, const std::string& reason,
                                      const std::optional<std::string>& fallbackTitle,
                                      AuthReply reply) {
    AuthOutcome outcome = AuthOutcome::notAvailable;
    if (canEvaluate(policy)) {
        // The sheet is on screen: it consumes the answer the script queued for it.
        sheets_.push_back(Sheet{policy, reason, fallbackTitle});
        SimAuthAnswer answer = SimAuthAnswer::cancel;
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        }
        switch (answer) {
            case SimAuthAnswer::success:
                outcome = AuthOutcome::success;
                break;
            case SimAuthAnswer::cancel:
                outcome = AuthOutcome::userCancel;
                break;
            case SimAuthAnswer::fail:
                outcome = AuthOutcome::authenticationFailed;
                break;
            case SimAuthAnswer::fallback:
                // A hidden fallback button cannot be pressed; the user can only dismiss the sheet.
                outcome = fallbackTitle && fallbackTitle->empty() ? AuthOutcome::userCancel
                                                                  : AuthOutcome::userFallback;
                break;
        }
    }
    loop_.post([reply = std::move(reply), outcome] {
        if (reply) {
            reply(outcome);
        }
    });
}

}  // namespace nimbrel::sim
