#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/AttemptsLog.h"
#include "app/AutoHideTriggers.h"
#include "app/BindingLookup.h"
#include "app/MenuActions.h"
#include "app/ShortcutActions.h"
#include "app/StatusMenu.h"
#include "app/notices/HUD.h"
#include "app/notices/OwnWindowPlacement.h"
#include "app/notices/ScreenChoice.h"
#include "app/screenshare/ScreenShareDetector.h"
#include "engine/WindowMinimizer.h"
#include "hotkeys/HotKeyCenter.h"
#include "platform/LifetimeGuard.h"
#include "platform/Platform.h"
#include "protection/AccessProtection.h"
#include "settings/SettingsStore.h"

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
    // The session ends the process (a logout, a shutdown): nobody can be asked, so the locked
    // windows stay hidden and the program lets go of the rest.
    void endForSession();

    void openSettings();
    // The update framework is about to relaunch the program.
    void updaterWillRelaunch() { relaunchingForUpdate_ = true; }

    // Sees every answer of the authentication gate (the console reports them).
    std::function<void(const std::string& reason, bool granted)> onAuthenticated;

    SettingsStore& store() { return *store_; }
    WindowMinimizer& minimizer() { return *minimizer_; }
    AutoHideTriggers& triggers() { return *triggers_; }
    bool isScreenSharing() { return screenShare_->isScreenSharing(); }
    bool isSettingsWindowOpen() const { return settingsWindowOpen_; }
    AttemptsLog& attempts() { return *attempts_; }

  private:
    void wireStore();
    // The status item with its menu, and the Dock menu.
    void installMenus();
    MenuServices menuServices();
    // What the engine asks of the shell: the settings, the designations, the notice screen and the
    // gate. Each answer is read when the engine asks, never copied.
    WindowMinimizer::Callbacks engineCallbacks();
    void applyCoverMessage();
    bool resumeAfterUpdate();
    void authenticate(const std::string& reason, std::function<void(bool)> completion);
    // The gate as the components are handed it: once the delegate is gone, nothing is granted.
    std::function<void(const std::string& reason, std::function<void(bool)> completion)>
    weakAuthenticate();

    Platform& platform_;
    // The notice screen as the settings last set it; notices read it when they appear.
    ScreenChoice screenChoice_;
    OwnWindowPlacement ownWindowPlacement_;
    std::unique_ptr<AccessProtection> protection_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<AttemptsLog> attempts_;
    std::unique_ptr<WindowMinimizer> minimizer_;
    std::unique_ptr<HotKeyCenter> hotKeys_;
    std::unique_ptr<HUD> hud_;
    std::unique_ptr<BindingLookup> bindingLookup_;
    std::unique_ptr<ScreenShareDetector> screenShare_;
    std::unique_ptr<AutoHideTriggers> triggers_;
    std::unique_ptr<ShortcutActions> shortcuts_;
    std::unique_ptr<MenuActions> menuActions_;
    std::unique_ptr<StatusMenu> statusMenu_;
    std::unique_ptr<StatusItem> statusItem_;
    Subscription iconSubscription_;
    bool settingsWindowOpen_ = false;
    bool isPoweringOff_ = false;
    bool relaunchingForUpdate_ = false;
    Subscription powerOffSubscription_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
