#include "protection/PasswordPrompt.h"

#include "protection/LockoutText.h"

namespace nimbrel {

void PasswordPrompt::showLockout(TimePoint until) {
    auto remaining = lockoutRemainingText(until - loop_.now(), locale_);
    panel_.inform(strings_.text("password.lockedOut"_key, {remaining}));
}

bool PasswordPrompt::ask(const std::string& reason) {
    for (int tries = kPromptTries; tries > 0; --tries) {
        // A lock-out is never lifted here: while it lasts only its alert is shown.
        if (auto until = password_.lockedUntil(loop_.now())) {
            showLockout(*until);
            return false;
        }
        auto texts = panel_.passwordPanel(strings_.text("password.title"_key), reason, false);
        if (!texts || texts->empty()) {
            return false;
        }
        auto check = password_.check(texts->front(), loop_.now());
        switch (check.result) {
            case AppPassword::Check::Result::ok:
                return true;
            case AppPassword::Check::Result::lockedOut:
                showLockout(check.until);
                return false;
            case AppPassword::Check::Result::wrong:
                break;
        }
        // This entry may have started a lock-out: say so now rather than at the next try.
        if (auto until = password_.lockedUntil(loop_.now())) {
            showLockout(*until);
            return false;
        }
        sound_.beep();
    }
    return false;
}

void PasswordPrompt::promptForPassword(const std::string& reason,
                                       const std::function<void(bool)>& completion) {
    bool success = ask(reason);
    if (completion) {
        completion(success);
    }
}

}  // namespace nimbrel
