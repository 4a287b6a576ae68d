#include "hotkeys/ShortcutRegistration.h"

namespace nimbrel {

std::set<ShortcutTarget> ShortcutRegistration::run(HotKeyCenter& center, SettingsStore& store,
                                                   const ActionsFor& actionsFor) {
    center.unregisterAll();
    // While the user types a new shortcut, no shortcut may swallow the keys.
    if (store.recording().get()) {
        return {};
    }
    std::vector<ShortcutTarget> targets;
    for (auto kind : kFixedShortcutOrder) {
        targets.push_back(ShortcutTarget::fixed(kind));
    }
    for (const auto& binding : store.bindings().get()) {
        targets.push_back(ShortcutTarget::window(binding.id));
    }
    std::set<ShortcutTarget> failures;
    for (const auto& target : targets) {
        auto combo = store.combo(target);
        if (!combo) {
            continue;
        }
        Actions actions = actionsFor ? actionsFor(target) : Actions{};
        if (!center.registerHotKey(*combo, std::move(actions.press), std::move(actions.release))) {
            failures.insert(target);
        }
    }
    store.setUnavailable(failures);
    return failures;
}

}  // namespace nimbrel
