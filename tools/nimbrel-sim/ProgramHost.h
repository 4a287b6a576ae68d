#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/AppDelegate.h"
#include "platform/BundledStrings.h"
#include "platform/Localizer.h"
#include "platform/Platform.h"

namespace nimbrel::sim {
class SimDesktop;
}

namespace nimbrel::console {

// One process of the program on the simulated desktop: started by the process entry, ended by a
// granted quit (after its shut-down) or killed outright. A new start is a new process that finds
// the desktop as the last one left it.
class ProgramHost {
  public:
    struct Options {
        bool keysLanguage = false;
        bool updates = false;
    };

    explicit ProgramHost(sim::SimDesktop& desktop);
    ~ProgramHost();
    ProgramHost(const ProgramHost&) = delete;
    ProgramHost& operator=(const ProgramHost&) = delete;

    bool isRunning() const { return delegate_ != nullptr; }
    AppDelegate& delegate() { return *delegate_; }
    const Localizer& strings() const { return *strings_; }

    void start(const Options& options);
    // Prints "quit now" or "quit later"; the process ends once the quit is granted.
    void quit();
    void updateRelaunch();
    void kill();
    // The session ends the process with a signal (a logout): it shuts down without asking anyone.
    void endSession();
    void reopen();

  private:
    void terminationAnswered(bool granted);
    void endProcess();

    sim::SimDesktop& desktop_;
    BundledStrings english_;
    Options options_;
    std::unique_ptr<Localizer> strings_;
    std::unique_ptr<Platform> platform_;
    std::unique_ptr<AppDelegate> delegate_;
    bool relaunchPending_ = false;
};

}  // namespace nimbrel::console
