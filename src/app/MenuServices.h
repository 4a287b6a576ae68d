#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "app/AttemptsLog.h"
#include "app/AutoHideTriggers.h"
#include "app/BindingLookup.h"
#include "app/ShortcutActions.h"
#include "engine/WindowMinimizer.h"
#include "platform/Accessibility.h"
#include "platform/KeyboardLayout.h"
#include "platform/Localizer.h"
#include "platform/LoginItem.h"
#include "platform/MainLoop.h"
#include "platform/Sound.h"
#include "platform/SystemSettings.h"
#include "platform/Workspace.h"
#include "settings/SettingsStore.h"

namespace nimbrel {

// What the status and Dock menus read and act on; the delegate owns every part.
struct MenuServices {
    SettingsStore& store;
    WindowMinimizer& minimizer;
    BindingLookup& bindings;
    ShortcutActions& shortcuts;
    AutoHideTriggers& triggers;
    AttemptsLog& attempts;
    Accessibility& accessibility;
    Workspace& workspace;
    KeyboardLayout& keyboardLayout;
    LoginItem& loginItem;
    SystemSettings& systemSettings;
    Sound& sound;
    MainLoop& loop;
    const Localizer& strings;
    std::function<void()> openSettings = nullptr;
    // How many region covers are on screen, and whether the updater can check now; both answer
    // none until their components are wired in.
    std::function<std::size_t()> regionCoversOnScreen = nullptr;
    std::function<bool()> canCheckForUpdates = nullptr;
    std::function<void()> checkForUpdates = nullptr;
    // The gate of every protected action; the completion runs once, on the main loop.
    std::function<void(const std::string& reason, std::function<void(bool)> completion)>
        authenticate = nullptr;
};

}  // namespace nimbrel
