#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/LifetimeGuard.h"
#include "platform/LocalAuthentication.h"
#include "platform/Localizer.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/x11/PamWorker.h"
#include "platform/x11/X11Screens.h"
#include "platform/x11/qt/QtOwnerPrompt.h"

namespace nimbrel::x11 {

// The owner's authentication on a Linux desktop: the program's own dialog asks for the password
// of the account running the program, and the PAM service checks it on the worker's thread.
// Which PAM configuration answers is PAM's business (and, in tests, that of PAM's own test
// wrapper): the program only names its service.
//
// Fingerprints count as available only while the fingerprint service has an enrolled finger of
// the user; a biometric request then goes through the same dialog and PAM service, whose stack
// takes the finger where it is set up to, and shows the request's fallback button.
//
// Replies: success; authenticationFailed for a refused password or account; notAvailable when
// PAM fails or nothing can be evaluated; userCancel and userFallback for the dialog's buttons.
// A dialog still up when this goes answers systemCancel.
class PamAuthentication final : public LocalAuthentication {
  public:
    PamAuthentication(MainLoop& loop, X11Screens& screens, const Localizer& strings, Log& log,
                      std::string service);
    ~PamAuthentication() override;
    PamAuthentication(const PamAuthentication&) = delete;
    PamAuthentication& operator=(const PamAuthentication&) = delete;

    bool canEvaluate(AuthPolicy policy) override;
    void evaluate(AuthPolicy policy, const std::string& reason,
                  const std::optional<std::string>& fallbackTitle, AuthReply reply) override;

  private:
    void answered(int id, QtOwnerPrompt::Answer answer, SecretBytes password);

    struct Open {
        std::unique_ptr<QtOwnerPrompt> prompt;
        AuthReply reply;
    };

    MainLoop& loop_;
    X11Screens& screens_;
    const Localizer& strings_;
    const std::optional<std::string> user_;
    std::map<int, Open> open_;
    int nextId_ = 1;
    LifetimeGuard guard_;
    // Last: its thread ends before anything it could reach goes.
    PamWorker worker_;
};

}  // namespace nimbrel::x11
