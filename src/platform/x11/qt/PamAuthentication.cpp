#include "platform/x11/qt/PamAuthentication.h"

#include <filesystem>
#include <utility>

#include "platform/x11/PamVerifier.h"
#include "platform/x11/qt/FprintdFingers.h"

namespace nimbrel::x11 {
namespace {

// Where Linux-PAM looks for a service's file: the administrator's folder, then the vendor's.
bool pamServiceInstalled(const std::string& service) {
    std::error_code error;
    for (const char* folder : {"/etc/pam.d", "/usr/lib/pam.d"}) {
        if (std::filesystem::exists(std::filesystem::path(folder) / service, error)) {
            return true;
        }
    }
    return false;
}

}  // namespace

PamAuthentication::PamAuthentication(MainLoop& loop, X11Screens& screens, const Localizer& strings,
                                     Log& log, std::string service)
    : loop_(loop),
      screens_(screens),
      strings_(strings),
      user_(PamVerifier::currentUser()),
      worker_([verifier = PamVerifier(service, user_.value_or(std::string()))](
                  const SecretBytes& password) { return verifier.verify(password); }) {
    if (!user_) {
        log.log("owner authentication is unavailable: the system does not name this account");
    } else if (pamServiceInstalled(service)) {
        log.log("owner authentication through the PAM service " + service);
    } else {
        // PAM then reads its "other" service: the common stacks on Debian, a refusal elsewhere.
        log.log("owner authentication through PAM, but /etc/pam.d/" + service +
                " is missing: PAM answers with its \"other\" service, which may refuse every "
                "password");
    }
}

PamAuthentication::~PamAuthentication() {
    std::map<int, Open> open = std::exchange(open_, {});
    for (auto& [id, entry] : open) {
        entry.prompt.reset();
        entry.reply(AuthOutcome::systemCancel);
    }
}

bool PamAuthentication::canEvaluate(AuthPolicy policy) {
    if (!user_) {
        return false;
    }
    switch (policy) {
        case AuthPolicy::deviceOwnerAuthentication:
            return true;
        case AuthPolicy::deviceOwnerAuthenticationWithBiometrics:
            return hasEnrolledFinger(*user_);
    }
    return false;
}

void PamAuthentication::evaluate(AuthPolicy policy, const std::string& reason,
                                 const std::optional<std::string>& fallbackTitle, AuthReply reply) {
    if (!canEvaluate(policy)) {
        // The reply comes after evaluate() has returned, as the callers expect.
        loop_.post([reply = std::move(reply)] { reply(AuthOutcome::notAvailable); });
        return;
    }
    QtOwnerPrompt::Texts texts;
    texts.windowTitle = strings_.text("owner.windowTitle"_key);
    texts.title = strings_.text("owner.title"_key, {reason});
    texts.message = strings_.text("owner.message"_key, {*user_});
    texts.placeholder = strings_.text("owner.placeholder"_key);
    texts.ok = strings_.text("common.ok"_key);
    texts.cancel = strings_.text("common.cancel"_key);
    // Only a fingerprint request has a way out to the program's own password.
    if (policy == AuthPolicy::deviceOwnerAuthenticationWithBiometrics) {
        texts.fallback = fallbackTitle.value_or(std::string());
    }
    int id = nextId_++;
    auto onAnswer = guard_.wrap([this, id](QtOwnerPrompt::Answer answer, SecretBytes password) {
        answered(id, answer, std::move(password));
    });
    open_.emplace(id, Open{nullptr, std::move(reply)});
    open_[id].prompt = std::make_unique<QtOwnerPrompt>(texts, screens_, std::move(onAnswer));
}

void PamAuthentication::answered(int id, QtOwnerPrompt::Answer answer, SecretBytes password) {
    auto found = open_.find(id);
    if (found == open_.end()) {
        return;
    }
    AuthReply reply = std::move(found->second.reply);
    open_.erase(found);
    switch (answer) {
        case QtOwnerPrompt::Answer::password:
            worker_.submit(std::move(password), std::move(reply));
            return;
        case QtOwnerPrompt::Answer::cancel:
            reply(AuthOutcome::userCancel);
            return;
        case QtOwnerPrompt::Answer::fallback:
            reply(AuthOutcome::userFallback);
            return;
    }
}

}  // namespace nimbrel::x11
