#pragma once

#include <functional>
#include <set>

#include "hotkeys/HotKeyCenter.h"
#include "settings/SettingsStore.h"
#include "settings/ShortcutTarget.h"

namespace nimbrel {

// The delegate's pass that makes the configured shortcuts live: every registration is dropped,
// then (unless a shortcut is being recorded) each fixed shortcut in order and each binding's
// shortcut in list order is registered. The refused targets become the store's `unavailable`.
class ShortcutRegistration {
  public:
    struct Actions {
        std::function<void()> press;
        std::function<void()> release;
    };
    using ActionsFor = std::function<Actions(const ShortcutTarget& target)>;

    // Answers the refused targets (also written to the store).
    static std::set<ShortcutTarget> run(HotKeyCenter& center, SettingsStore& store,
                                        const ActionsFor& actionsFor);
};

}  // namespace nimbrel
