#include "app/BindingLookup.h"

namespace nimbrel {

BindingLookup::BindingLookup(SettingsStore& store, WindowMinimizer& minimizer, Workspace& workspace)
    : store_(store), minimizer_(minimizer), workspace_(workspace) {}

std::optional<WindowBinding> BindingLookup::designatingBinding(const WindowRef& window) const {
    if (auto id = minimizer_.bindingID(window.element)) {
        if (auto binding = store_.binding(*id)) {
            return binding;
        }
    }
    return store_.bindingMatching(liveWindow(window));
}

bool BindingLookup::isLockedDesignation(const WindowRef& window) const {
    if (auto id = minimizer_.bindingID(window.element)) {
        if (auto binding = store_.binding(*id); binding && binding->locked) {
            return true;
        }
    }
    LiveWindow live = liveWindow(window);
    for (const auto& binding : store_.bindings().get()) {
        if (binding.locked && binding.matches(live)) {
            return true;
        }
    }
    return false;
}

bool BindingLookup::isWholeAppDesignation(const WindowRef& window) const {
    LiveApp app = liveApp(window.app);
    for (const auto& binding : store_.bindings().get()) {
        if (binding.wholeApp && binding.matchesApp(app)) {
            return true;
        }
    }
    return false;
}

LiveApp BindingLookup::liveApp(AppRef app) const {
    return LiveApp{workspace_.bundleIdentifier(app), workspace_.localizedName(app)};
}

LiveWindow BindingLookup::liveWindow(const WindowRef& window) const {
    return LiveWindow{liveApp(window.app), minimizer_.access().windowNumber(window.element),
                      window.title};
}

}  // namespace nimbrel
