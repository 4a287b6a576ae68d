#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/WindowMinimizer.h"
#include "platform/LifetimeGuard.h"
#include "platform/Platform.h"

namespace nimbrel {

enum class TerminateReply { now = 1, later = 2 };

// Owns every long-lived component of the program for the life of the process, wires them to each
// other at launch and decides how the program quits.
class AppDelegate {
  public:
    explicit AppDelegate(Platform& platform);
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;
    ~AppDelegate();

    void applicationDidFinishLaunching();
    TerminateReply applicationShouldTerminate();
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
    void shutDown(bool forUpdate);

    void openSettings();
    // The update framework is about to relaunch the program.
    void updaterWillRelaunch() { relaunchingForUpdate_ = true; }

    // The gate for protected actions; answers once, on the main loop.
    std::function<void(const std::string& reason, std::function<void(bool)> completion)>
        authenticate;

    WindowMinimizer& minimizer() { return *minimizer_; }
    bool isPoweringOff() const { return isPoweringOff_; }
    TimePoint revealedAt() const { return revealedAt_; }
    bool isSettingsWindowOpen() const { return settingsWindowOpen_; }

  private:
    void wireEngine();
    bool resumeAfterUpdate();
    void showNotice(const std::string& title, const std::string& detail);

    Platform& platform_;
    std::unique_ptr<WindowMinimizer> minimizer_;
    bool settingsWindowOpen_ = false;
    TimePoint revealedAt_ = kDistantPast;
    bool isPoweringOff_ = false;
    bool relaunchingForUpdate_ = false;
    Subscription powerOffSubscription_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
