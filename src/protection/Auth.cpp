#include "protection/Auth.h"

namespace nimbrel {

void Auth::authenticate(const std::string& reason, std::function<void(bool)> completion) {
    OnceCompletion once(std::move(completion));
    constexpr auto biometrics = AuthPolicy::deviceOwnerAuthenticationWithBiometrics;
    switch (password_.status()) {
        case AppPassword::Status::set:
            if (!localAuthentication_.canEvaluate(biometrics)) {
                prompt_.promptForPassword(reason, once);
                return;
            }
            evaluate(biometrics, reason, strings_.text("auth.fallbackTitle"_key),
                     OnFailure::promptForPassword, once);
            return;
        case AppPassword::Status::missing:
            // The password can no longer be verified: only Touch ID, without a fallback button,
            // or the owner's authentication can stand in for it.
            if (localAuthentication_.canEvaluate(biometrics)) {
                evaluate(biometrics, reason, std::string(), OnFailure::refuse, once);
                return;
            }
            break;
        case AppPassword::Status::none:
            break;
    }
    if (!localAuthentication_.canEvaluate(AuthPolicy::deviceOwnerAuthentication)) {
        once(false);
        return;
    }
    evaluate(AuthPolicy::deviceOwnerAuthentication, reason, std::nullopt, OnFailure::refuse, once);
}

void Auth::evaluate(AuthPolicy policy, const std::string& reason,
                    const std::optional<std::string>& fallbackTitle, OnFailure onFailure,
                    OnceCompletion completion) {
    auto alive = guard_.token();
    MainLoop& loop = loop_;
    localAuthentication_.evaluate(
        policy, reason, fallbackTitle,
        [this, alive, &loop, reason, onFailure, completion](AuthOutcome outcome) {
            // The reply comes on a queue of the platform; nothing may happen there.
            loop.post([this, alive, reason, onFailure, completion, outcome] {
                // The platform promises one reply; a second must not open a second prompt.
                if (!completion.isPending()) {
                    return;
                }
                if (!LifetimeGuard::alive(alive)) {
                    completion(false);
                    return;
                }
                if (outcome == AuthOutcome::success) {
                    completion(true);
                } else if (outcome == AuthOutcome::userCancel || onFailure == OnFailure::refuse) {
                    completion(false);
                } else {
                    // The fallback button, a failed match, a lock-out of the sensor: the
                    // program's own password decides.
                    prompt_.promptForPassword(reason, completion);
                }
            });
        });
}

}  // namespace nimbrel
