#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace nimbrel::test {

// A D-Bus daemon of one test's own, stopped with it: the tests' stand-in for the system bus or the
// session bus, which the machine may lack or share with the user's real services.
class PrivateBus {
  public:
    PrivateBus() {
        int out[2] = {-1, -1};
        if (::pipe2(out, O_CLOEXEC) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 3);
            // It warns that it may not raise its descriptor limit, which a test bus never needs.
            int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, 2);
            std::string config = std::string("--config-file=") + NIMBREL_SOURCE_DIR +
                                 "/tests/platform/x11/session/private-bus.conf";
            ::execlp("dbus-daemon", "dbus-daemon", config.c_str(), "--nofork", "--nopidfile",
                     "--print-address=3", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        // The address is one line, written once the daemon listens.
        char c = 0;
        pollfd wait{out[0], POLLIN, 0};
        while (::poll(&wait, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') {
            address_.push_back(c);
        }
        ::close(out[0]);
    }
    ~PrivateBus() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when the daemon did not start.
    const std::string& address() const { return address_; }

  private:
    pid_t pid_ = -1;
    std::string address_;
};

}  // namespace nimbrel::test
