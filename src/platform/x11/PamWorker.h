#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/LocalAuthentication.h"
#include "platform/x11/SecretBytes.h"

namespace nimbrel::x11 {

// The one thread of the program's own: password checks block for as long as PAM takes, about two
// seconds after a wrong password, and the main loop must not stand still meanwhile. Checks run one
// at a time in the order they came, and each reply runs on the worker's thread, as the
// authentication gate expects of the platform; the gate brings it back to the main loop itself.
//
// The thread starts with the first check. Destroying the worker waits for a check under way to
// end (its reply still comes) and answers every check still waiting with systemCancel, on the
// destroying thread.
class PamWorker {
  public:
    using Check = std::function<AuthOutcome(const SecretBytes& password)>;

    explicit PamWorker(Check check) : check_(std::move(check)) {}
    ~PamWorker();
    PamWorker(const PamWorker&) = delete;
    PamWorker& operator=(const PamWorker&) = delete;

    void submit(SecretBytes password, AuthReply reply);

  private:
    struct Job {
        SecretBytes password;
        AuthReply reply;
    };
    void run();

    const Check check_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace nimbrel::x11
