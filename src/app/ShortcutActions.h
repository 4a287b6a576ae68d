#pragma once

#include <functional>

#include "app/AutoHideTriggers.h"
#include "app/BindingLookup.h"
#include "app/notices/HUD.h"
#include "app/notices/HUDContent.h"
#include "engine/WindowMinimizer.h"
#include "hotkeys/HotKeyCenter.h"
#include "hotkeys/ShortcutRegistration.h"
#include "platform/Accessibility.h"
#include "platform/LifetimeGuard.h"
#include "platform/Localizer.h"
#include "platform/MainLoop.h"
#include "platform/Sound.h"
#include "platform/Workspace.h"
#include "settings/SettingsStore.h"

namespace nimbrel {

// The global shortcuts. A short press does the everyday action; holding the keys for the hold
// duration does the opposite one (reveal instead of hide). Bound windows are guarded the other way
// round: a press hides them, but only a hold brings them back.
class ShortcutActions {
  public:
    struct Services {
        SettingsStore& store;
        WindowMinimizer& minimizer;
        HotKeyCenter& hotKeys;
        HUD& hud;
        BindingLookup& bindings;
        AutoHideTriggers& triggers;
        Accessibility& accessibility;
        Workspace& workspace;
        Sound& sound;
        MainLoop& loop;
        const Localizer& strings;
    };

    explicit ShortcutActions(const Services& services);
    ShortcutActions(const ShortcutActions&) = delete;
    ShortcutActions& operator=(const ShortcutActions&) = delete;

    // Makes every configured shortcut live again (none while one is being recorded) and cancels a
    // pending hold.
    void registerHotKeys();

    // Designates the window, or removes its designation; `fromThisWindowItem` is the status
    // menu's item for the focused window, which may narrow a whole-application binding.
    void toggleDesignation(const WindowRef& window, bool fromThisWindowItem);
    // Reveals every window the engine hid (locked ones ask first).
    void restoreAllDesignated();
    // Hides the focused window as the settings say (locked, covered); the beep when it cannot.
    void hideFocusedWindow();

  private:
    ShortcutRegistration::Actions actionsFor(const ShortcutTarget& target);
    // Replaces any pending hold: `action` runs once the keys have been held for the hold duration.
    void beginHold(std::function<void()> action);
    bool isHoldPending() const { return holdTimer_.isArmed(); }
    // How the shortcuts hide a window, as the cover setting says.
    HideStyle hideStyle() const;
    void designateFromShortcut();
    void bindingAction(const Uuid& id);
    void showNotice(const HUDContent& content);

    Services services_;
    Timer holdTimer_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
