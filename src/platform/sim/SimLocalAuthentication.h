#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/LocalAuthentication.h"

namespace nimbrel::sim {

class SimMainLoop;

// The answers a script can give to the system's authentication sheet.
enum class SimAuthAnswer { success, cancel, fail, fallback };

// The system's authentication sheet on the simulated desktop. Each sheet takes the next queued
// answer when it opens; with none queued the user dismisses it. The reply is delivered later,
// through the main loop's queue standing in for the platform's own queue, never inside evaluate().
class SimLocalAuthentication final : public LocalAuthentication {
  public:
    explicit SimLocalAuthentication(SimMainLoop& loop) : loop_(loop) {}
    SimLocalAuthentication(const SimLocalAuthentication&) = delete;
    SimLocalAuthentication& operator=(const SimLocalAuthentication&) = delete;

    bool canEvaluate(AuthPolicy policy) override;
    void evaluate(AuthPolicy policy, const std::string& reason,
                  const std::optional<std::string>& fallbackTitle, AuthReply reply) override;

    // Control surface. A fresh desktop has no Touch ID and an account password.
    void setBiometricsAvailable(bool available) { biometrics_ = available; }
    void setOwnerAvailable(bool available) { owner_ = available; }
    void queueAnswer(SimAuthAnswer answer) { answers_.push_back(answer); }
    std::size_t queuedAnswers() const { return answers_.size(); }

    // Every sheet shown, in order.
    struct Sheet {
        AuthPolicy policy;
        std::string reason;
        std::optional<std::string> fallbackTitle;
    };
    const std::vector<Sheet>& sheets() const { return sheets_; }

  private:
    SimMainLoop& loop_;
    bool biometrics_ = false;
    bool owner_ = true;
    std::deque<SimAuthAnswer> answers_;
    std::vector<Sheet> sheets_;
};

}  // namespace nimbrel::sim
