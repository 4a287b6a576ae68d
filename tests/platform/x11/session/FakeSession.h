#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "PrivateBus.h"

namespace nimbrel::test {

// The session's services for a test of the real program: a private system bus and session bus,
// and the tests' own login manager and screen saver on them, as a process the test drives line by
// line. A program started with `environment()` finds them where it looks for the real ones.
class FakeSession {
  public:
    enum class LoginManager { present, absent };

    explicit FakeSession(LoginManager manager = LoginManager::present) {
        if (system_.address().empty() || session_.address().empty()) {
            return;
        }
        int toChild[2] = {-1, -1};
        int fromChild[2] = {-1, -1};
        // A socket towards it, so that writing to a process that died fails instead of raising
        // SIGPIPE in the test.
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, toChild) != 0 ||
            ::pipe2(fromChild, O_CLOEXEC) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(toChild[0], STDIN_FILENO);
            ::dup2(fromChild[1], STDOUT_FILENO);
            const char* absent = manager == LoginManager::absent ? "--no-login-manager" : nullptr;
            ::execl(NIMBREL_FAKE_SESSION, NIMBREL_FAKE_SESSION, system_.address().c_str(),
                    session_.address().c_str(), absent, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        in_ = toChild[1];
        out_ = fromChild[0];
        ready_ = line() == "ready";
    }
    ~FakeSession() {
        if (in_ >= 0) {
            ::close(in_);  // its input ends, and so does it
        }
        if (pid_ > 0) {
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) {
            ::close(out_);
        }
    }
    FakeSession(const FakeSession&) = delete;
    FakeSession& operator=(const FakeSession&) = delete;

    // Whether the buses and the services are up.
    bool ready() const { return ready_; }

    // The variables through which a program finds the two buses.
    std::vector<std::pair<std::string, std::string>> environment() const {
        return {{"DBUS_SYSTEM_BUS_ADDRESS", system_.address()},
                {"DBUS_SESSION_BUS_ADDRESS", session_.address()}};
    }

    // Each sends the signal and answers once the buses have passed it on.
    bool lock() { return ask("lock") == "ok"; }
    bool unlock() { return ask("unlock") == "ok"; }
    bool setLockedHint(bool locked) {
        return ask(locked ? "locked-hint 1" : "locked-hint 0") == "ok";
    }
    bool setScreenSaverActive(bool active) { return ask(active ? "saver 1" : "saver 0") == "ok"; }
    bool prepareForSleep(bool starting) { return ask(starting ? "sleep 1" : "sleep 0") == "ok"; }
    bool prepareForShutdown(bool starting) {
        return ask(starting ? "shutdown 1" : "shutdown 0") == "ok";
    }
    // How many times the program called a method of the login manager.
    int called(const std::string& method) { return std::atoi(ask("called " + method).c_str()); }
    // How many delay locks the login manager handed out, and how many of them are still held.
    std::pair<int, int> inhibitors() {
        int taken = -1;
        int held = -1;
        std::sscanf(ask("inhibitors").c_str(), "taken %d held %d", &taken, &held);
        return {taken, held};
    }

    // One command and its one line of answer; empty when the process does not answer.
    std::string ask(const std::string& command) {
        std::string line = command + "\n";
        if (in_ < 0 || ::send(in_, line.data(), line.size(), MSG_NOSIGNAL) !=
                           static_cast<ssize_t>(line.size())) {
            return {};
        }
        return this->line();
    }

  private:
    // Ten seconds at most: a process that hangs fails the test instead of stopping it.
    std::string line() {
        std::string text;
        char c = 0;
        pollfd wait{out_, POLLIN, 0};
        while (out_ >= 0 && ::poll(&wait, 1, 10000) > 0 && ::read(out_, &c, 1) == 1 && c != '\n') {
            text.push_back(c);
        }
        return text;
    }

    PrivateBus system_;
    PrivateBus session_;
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    bool ready_ = false;
};

}  // namespace nimbrel::test
