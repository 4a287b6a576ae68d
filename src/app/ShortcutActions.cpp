#include "app/ShortcutActions.h"

#include <optional>
#include <string>
#include <vector>

#include "app/notices/NoticeTexts.h"

namespace nimbrel {

ShortcutActions::ShortcutActions(const Services& services) : services_(services) {}

void ShortcutActions::registerHotKeys() {
    holdTimer_.invalidate();
    ShortcutRegistration::run(
        services_.hotKeys, services_.store, [this](const ShortcutTarget& target) {
            ShortcutRegistration::Actions actions = actionsFor(target);
            // A late key event after the actions are gone does nothing.
            auto weakly = [this](std::function<void()> action) -> std::function<void()> {
                if (!action) {
                    return nullptr;
                }
                return guard_.wrap(std::move(action));
            };
            return ShortcutRegistration::Actions{weakly(std::move(actions.press)),
                                                 weakly(std::move(actions.release))};
        });
}

void ShortcutActions::beginHold(std::function<void()> action) {
    holdTimer_ = Timer(services_.loop, services_.store.holdDuration().get(), false,
                       guard_.wrap([this, action = std::move(action)] {
                           holdTimer_.invalidate();
                           action();
                       }));
}

ShortcutRegistration::Actions ShortcutActions::actionsFor(const ShortcutTarget& target) {
    switch (target.kind) {
        case ShortcutTarget::Kind::focused:
            return {[this] { beginHold([this] { services_.minimizer.restoreLast([](bool) {}); }); },
                    [this] {
                        if (isHoldPending()) {
                            holdTimer_.invalidate();
                            hideFocusedWindow();
                        }
                    }};
        case ShortcutTarget::Kind::all:
            return {[this] { beginHold([this] { restoreAllDesignated(); }); },
                    [this] {
                        if (isHoldPending()) {
                            holdTimer_.invalidate();
                            services_.triggers.hideAllBound(true);
                        }
                    }};
        case ShortcutTarget::Kind::designate:
            return {[this] { designateFromShortcut(); }, nullptr};
        case ShortcutTarget::Kind::window: {
            Uuid id = target.id;
            return {[this, id] { bindingAction(id); },
                    // Releasing early reveals nothing.
                    [this] { holdTimer_.invalidate(); }};
        }
        case ShortcutTarget::Kind::regionClear:
            // Clearing with no region cover on screen is an action that cannot be carried out.
            return {[this] { services_.sound.beep(); }, nullptr};
        case ShortcutTarget::Kind::focusMode:
        case ShortcutTarget::Kind::regionCover:
            break;
    }
    // Focus mode and region covers arrive with their subsystems. Until then their shortcuts are
    // held by the program and answer with the beep, so a press is never silently lost.
    return {[this] { services_.sound.beep(); }, nullptr};
}

void ShortcutActions::designateFromShortcut() {
    std::optional<WindowRef> window;
    if (services_.accessibility.requestTrust()) {
        window = services_.minimizer.access().focusedWindow();
    }
    if (!window) {
        services_.sound.beep();
        return;
    }
    toggleDesignation(*window, false);
}

void ShortcutActions::toggleDesignation(const WindowRef& window, bool fromThisWindowItem) {
    SettingsStore& store = services_.store;
    const Localizer& strings = services_.strings;
    NoticeTexts texts(strings);
    auto binding = services_.bindings.designatingBinding(window);
    if (!binding) {
        Uuid id = store.designate(services_.bindings.liveWindow(window));
        services_.minimizer.designate(window.element, id);
        auto created = store.binding(id);
        std::string label =
            created ? created->label(strings) : services_.minimizer.access().label(window);
        std::optional<std::string> keys;
        if (const auto& all = store.allCombo().get()) {
            keys = store.displayText(*all);
        }
        showNotice(texts.designated(label, keys));
        return;
    }
    if (binding->wholeApp && !fromThisWindowItem) {
        std::string name =
            services_.workspace.localizedName(window.app).value_or(strings.text("common.app"_key));
        showNotice(texts.wholeApp(name));
        return;
    }
    std::string label = binding->label(strings);
    store.requestRemoveBinding(binding->id, guard_.wrap([this, label](bool removed) {
        if (removed) {
            showNotice(NoticeTexts(services_.strings).unassigned(label));
        }
    }));
}

void ShortcutActions::bindingAction(const Uuid& id) {
    if (!services_.accessibility.requestTrust()) {
        return;
    }
    auto binding = services_.store.binding(id);
    if (!binding) {
        return;
    }
    WindowMinimizer& minimizer = services_.minimizer;
    auto windows = minimizer.windows(*binding);
    if (windows.empty()) {
        // The binding's window is not reachable now.
        services_.sound.beep();
        return;
    }
    std::vector<WindowRef> shown;
    for (const auto& window : windows) {
        if (!minimizer.isConcealed(window)) {
            shown.push_back(window);
        }
    }
    if (!shown.empty()) {
        Guard guard = binding->locked ? Guard::locked : Guard::unlocked;
        for (const auto& window : shown) {
            minimizer.hide(window, guard, hideStyle());
        }
        return;
    }
    // Everything is hidden already: only a deliberate hold brings the windows back.
    beginHold([this, windows] {
        services_.minimizer.reveal(windows, RevealAuth::asNeeded, RevealPlace::onChosenScreen,
                                   [](bool) {});
    });
}

void ShortcutActions::showNotice(const HUDContent& content) {
    services_.hud.show(content.title, content.detail);
}

HideStyle ShortcutActions::hideStyle() const {
    return services_.store.useCover().get() ? HideStyle::cover : HideStyle::outOfSight;
}

void ShortcutActions::hideFocusedWindow() {
    if (!services_.accessibility.requestTrust() ||
        !services_.minimizer.hideFocused(
            services_.store.lockFocused().get() ? Guard::locked : Guard::unlocked, hideStyle())) {
        services_.sound.beep();
    }
}

void ShortcutActions::restoreAllDesignated() {
    services_.minimizer.prune();
    services_.minimizer.reveal(services_.minimizer.hidden().minimized(), RevealAuth::asNeeded,
                               RevealPlace::onChosenScreen, [](bool) {});
}

}  // namespace nimbrel
