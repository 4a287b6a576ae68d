#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace nimbrel::test {

// The real program, started as its own process on the test's X display with a home folder of its
// own, so that its settings, keychain and log belong to the test.
class RunningProgram {
  public:
    explicit RunningProgram(std::filesystem::path home) : home_(std::move(home)) {
        std::filesystem::create_directories(home_ / "run");
        std::filesystem::permissions(home_ / "run", std::filesystem::perms::owner_all);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram() { kill(); }

    std::filesystem::path configFolder() const { return home_ / ".config" / "nimbrel"; }
    std::filesystem::path logFile() const { return home_ / "nimbrel.log"; }

    // Writes the user-defaults file the program will find at start.
    void writeDefaults(const std::string& document) const {
        std::filesystem::create_directories(configFolder());
        std::ofstream(configFolder() / "defaults.json") << document;
    }

    // A variable the program finds in its environment (the address of a test's own bus).
    void setEnvironment(std::string name, std::string value) {
        environment_.emplace_back(std::move(name), std::move(value));
    }

    // Starts the program and waits until its shortcuts are registered.
    bool start() {
        pid_ = ::fork();
        if (pid_ == 0) {
            std::string home = home_.string();
            ::setenv("HOME", home.c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (home_ / ".config").c_str(), 1);
            ::setenv("XDG_DATA_HOME", (home_ / ".local" / "share").c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", (home_ / "run").c_str(), 1);
            for (const auto& [name, value] : environment_) {
                ::setenv(name.c_str(), value.c_str(), 1);
            }
            // No session bus here: without an address libdbus would try to start one for Qt,
            // and keep memory the leak checker reports.
            ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 0);
            // Nor the machine's login manager, unless the test brings one of its own.
            ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent", 0);
            std::string log = logFile().string();
            std::FILE* out = std::freopen(log.c_str(), "a", stderr);
            (void)out;
            ::execl(NIMBREL_PROGRAM, NIMBREL_PROGRAM, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ++starts_;
        return pid_ > 0 && waitForLog("started", starts_);
    }

    // Whether `text` has appeared in the log at least `times` times, waiting ten seconds at most.
    bool waitForLog(const std::string& text, int times = 1) const {
        for (int i = 0; i < 1000; ++i) {
            if (count(text) >= times) {
                return true;
            }
            if (!running()) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    int count(const std::string& text) const {
        std::string all = log();
        int found = 0;
        for (auto at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) {
            ++found;
        }
        return found;
    }

    std::string log() const {
        std::ifstream in(logFile());
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    pid_t pid() const { return pid_; }

    bool running() const {
        reap();
        return pid_ > 0;
    }

    // Sends the signal and waits for the process to end; its exit status, none when it did not
    // end within ten seconds.
    std::optional<int> end(int signal) {
        if (!running()) {
            return status_;
        }
        ::kill(pid_, signal);
        return exited();
    }

    // Waits for the process to end by itself; its exit status, none when it did not end within
    // ten seconds.
    std::optional<int> exited() {
        for (int i = 0; i < 1000; ++i) {
            if (!running()) {
                return status_;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    void kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = 0;
        }
    }

  private:
    void reap() const {
        int status = 0;
        if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = 0;
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
    }

    std::filesystem::path home_;
    mutable pid_t pid_ = 0;
    mutable std::optional<int> status_;
    int starts_ = 0;
    std::vector<std::pair<std::string, std::string>> environment_;
};

// Keys as a user types them, through the server's test extension.
inline void typeKeys(const std::string& keys) {
    std::string command = "xdotool key " + keys;
    [[maybe_unused]] int status = std::system(command.c_str());
}

inline void holdKeys(const std::string& keys, std::chrono::milliseconds duration) {
    std::string down = "xdotool keydown " + keys;
    std::string up = "xdotool keyup " + keys;
    [[maybe_unused]] int status = std::system(down.c_str());
    std::this_thread::sleep_for(duration);
    status = std::system(up.c_str());
}

}  // namespace nimbrel::test
