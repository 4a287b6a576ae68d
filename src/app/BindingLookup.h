#pragma once

#include <optional>

#include "engine/WindowMinimizer.h"
#include "engine/WindowRef.h"
#include "platform/Workspace.h"
#include "settings/LiveWindow.h"
#include "settings/SettingsStore.h"
#include "settings/WindowBinding.h"

namespace nimbrel {

// Answers which binding stands for a live window. The engine remembers which element a binding
// designated, so that answer comes first; the store's matching rule (application, number, title)
// decides for windows the engine has not seen designated.
class BindingLookup {
  public:
    BindingLookup(SettingsStore& store, WindowMinimizer& minimizer, Workspace& workspace);
    BindingLookup(const BindingLookup&) = delete;
    BindingLookup& operator=(const BindingLookup&) = delete;

    std::optional<WindowBinding> designatingBinding(const WindowRef& window) const;
    bool isLockedDesignation(const WindowRef& window) const;
    bool isWholeAppDesignation(const WindowRef& window) const;

    // What the store's matching rule reads of a window and of an application.
    LiveWindow liveWindow(const WindowRef& window) const;
    LiveApp liveApp(AppRef app) const;

  private:
    SettingsStore& store_;
    WindowMinimizer& minimizer_;
    Workspace& workspace_;
};

}  // namespace nimbrel
