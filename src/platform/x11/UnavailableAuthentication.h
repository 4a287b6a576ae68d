#pragma once

#include "platform/LocalAuthentication.h"
#include "platform/MainLoop.h"

namespace nimbrel::x11 {

// Owner authentication where the session offers none the program can use: nothing can be
// evaluated, so the program's own password is the way to reveal a locked window.
class UnavailableAuthentication final : public LocalAuthentication {
  public:
    explicit UnavailableAuthentication(MainLoop& loop) : loop_(loop) {}

    bool canEvaluate(AuthPolicy) override { return false; }
    void evaluate(AuthPolicy, const std::string&, const std::optional<std::string>&,
                  AuthReply reply) override {
        // The reply comes after evaluate() has returned, as the callers expect.
        loop_.post([reply = std::move(reply)] { reply(AuthOutcome::notAvailable); });
    }

  private:
    MainLoop& loop_;
};

}  // namespace nimbrel::x11
