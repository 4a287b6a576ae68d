#include "protection/SetPasswordDialog.h"

#include "protection/PasswordWeakness.h"

namespace nimbrel {

void SetPasswordDialog::setInteractively(std::function<void(bool)> completion) {
    auto reason = password_.status() == AppPassword::Status::set
                      ? strings_.text("auth.reason.changePassword"_key)
                      : strings_.text("auth.reason.setPassword"_key);
    auto token = guard_.token();
    auth_.authenticate(reason, [this, token, completion = std::move(completion)](bool authorised) {
        bool success = authorised && LifetimeGuard::alive(token) && runDialog();
        if (completion) {
            completion(success);
        }
    });
}

std::optional<std::string> SetPasswordDialog::refusal(const std::string& first,
                                                      const std::string& second) {
    if (first.empty()) {
        return strings_.text("password.empty"_key);
    }
    if (first != second) {
        return strings_.text("password.mismatch"_key);
    }
    auto weakness = AppPassword::weakness(first);
    if (weakness == PasswordWeakness::tooCommon) {
        return strings_.text("password.tooCommon"_key);
    }
    if (weakness == PasswordWeakness::tooShort) {
        return strings_.text("password.tooShort"_key,
                             {static_cast<long long>(kMinimumPasswordLength)});
    }
    return std::nullopt;
}

bool SetPasswordDialog::runDialog() {
    for (;;) {
        auto texts = panel_.passwordPanel(strings_.text("password.setTitle"_key),
                                          strings_.text("password.setMessage"_key), true);
        if (!texts || texts->size() != 2) {
            return false;
        }
        if (auto refused = refusal((*texts)[0], (*texts)[1])) {
            panel_.inform(*refused);
            continue;
        }
        if (!password_.set((*texts)[0])) {
            // Nothing was stored (no secure random bytes, or the keychain refused): the old
            // state stands, and the user hears that the action could not be carried out.
            sound_.beep();
            return false;
        }
        return true;
    }
}

}  // namespace nimbrel
