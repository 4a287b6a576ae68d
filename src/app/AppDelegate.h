#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/notices/HUD.h"
#include "app/notices/HUDContent.h"
#include "app/notices/OwnWindowPlacement.h"
#include "app/notices/ScreenChoice.h"
#include "engine/WindowMinimizer.h"
#include "hotkeys/HotKeyCenter.h"
#include "hotkeys/ShortcutRegistration.h"
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

    void openSettings();
    // The update framework is about to relaunch the program.
    void updaterWillRelaunch() { relaunchingForUpdate_ = true; }

    // Shortcut actions.
    void registerHotKeys();
    void beginHold(std::function<void()> action);
    // Hides every window of every binding that still needs it; answers (found, hidden).
    std::pair<long, long> hideAllBound(bool beep);
    void restoreAllDesignated();
    // The screen configuration changed: the engine re-parks, and the monitor trigger may hide.
    void screenParametersChanged();
    // Designates the window, or removes its designation; `fromThisWindowItem` is the status
    // menu's item for the focused window, which may narrow a whole-application binding.
    void toggleDesignation(const WindowRef& window, bool fromThisWindowItem);

    // Sees every answer of the authentication gate (the console reports them).
    std::function<void(const std::string& reason, bool granted)> onAuthenticated;

    SettingsStore& store() { return *store_; }
    WindowMinimizer& minimizer() { return *minimizer_; }
    HotKeyCenter& hotKeys() { return *hotKeys_; }
    HUD& hud() { return *hud_; }
    AccessProtection& protection() { return *protection_; }
    bool isPoweringOff() const { return isPoweringOff_; }
    TimePoint revealedAt() const { return revealedAt_; }
    bool isSettingsWindowOpen() const { return settingsWindowOpen_; }

  private:
    void wireStore();
    void wireEngine();
    bool resumeAfterUpdate();
    void authenticate(const std::string& reason, std::function<void(bool)> completion);
    ShortcutRegistration::Actions actionsFor(const ShortcutTarget& target);
    void hideFocusedFromShortcut();
    void designateFromShortcut();
    void bindingAction(const Uuid& id);
    std::optional<WindowBinding> designatingBinding(const WindowRef& window);
    void showNotice(const HUDContent& content);
    bool isHoldPending() const { return holdTimer_.isArmed(); }
    LiveWindow liveWindow(const WindowRef& window);
    LiveApp liveApp(AppRef app);

    Platform& platform_;
    // The notice screen as the settings last set it; notices read it when they appear.
    ScreenChoice screenChoice_;
    OwnWindowPlacement ownWindowPlacement_;
    std::unique_ptr<AccessProtection> protection_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<WindowMinimizer> minimizer_;
    std::unique_ptr<HotKeyCenter> hotKeys_;
    std::unique_ptr<HUD> hud_;
    bool settingsWindowOpen_ = false;
    Timer holdTimer_;
    TimePoint revealedAt_ = kDistantPast;
    bool isPoweringOff_ = false;
    bool relaunchingForUpdate_ = false;
    long screenCount_ = 0;
    Subscription powerOffSubscription_;
    Subscription screensSubscription_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
