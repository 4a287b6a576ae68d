#pragma once

#include <optional>

#include "app/MenuServices.h"
#include "engine/WindowRef.h"
#include "platform/LifetimeGuard.h"
#include "settings/Uuid.h"

namespace nimbrel {

// What the items of the status and Dock menus do. Actions that the program cannot carry out at the
// moment (no window, no permission, a refusal of the system) answer with the beep.
class MenuActions {
  public:
    explicit MenuActions(const MenuServices& services);
    MenuActions(const MenuActions&) = delete;
    MenuActions& operator=(const MenuActions&) = delete;

    void openAccessibilitySettings();
    void openSettings();
    void clearAttempts();
    // Both act on the window that was focused when the menu was built, not on the menu itself,
    // which has the focus by the time an item is chosen.
    void toggleDesignationFromMenu(const std::optional<WindowRef>& window);
    void designateWholeAppFromMenu(const std::optional<WindowRef>& window);
    void hideFocused();
    void restoreLast();
    void toggleFocusMode();
    // Hides the binding's windows, or reveals them when every one is hidden already.
    void toggleItem(const Uuid& id);
    void hideAllDesignated();
    void restoreAllDesignated();
    void restoreItem(const WindowRef& window);
    void designateItem(const WindowRef& window);
    void startRegionCover();
    void saveRegionCovers();
    void clearRegionCovers();
    void applySavedCover(const Uuid& id);
    void applySavedCovers();
    void checkForUpdates();
    void toggleLaunchAtLogin();

  private:
    HideStyle hideStyle() const;

    MenuServices services_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
