// The global shortcuts: a short press does the everyday action, holding the keys for the hold
// duration does the opposite one.
#include "app/AppDelegate.h"

#include "app/notices/NoticeTexts.h"

namespace nimbrel {

void AppDelegate::registerHotKeys() {
    holdTimer_.invalidate();
    auto token = guard_.token();
    ShortcutRegistration::run(*hotKeys_, *store_, [this, token](const ShortcutTarget& target) {
        ShortcutRegistration::Actions actions = actionsFor(target);
        // Every action refers to the delegate weakly: a late key event after it is gone does
        // nothing.
        auto guarded = [token](std::function<void()> action) -> std::function<void()> {
            if (!action) {
                return nullptr;
            }
            return [token, action = std::move(action)] {
                if (LifetimeGuard::alive(token)) {
                    action();
                }
            };
        };
        return ShortcutRegistration::Actions{guarded(std::move(actions.press)),
                                             guarded(std::move(actions.release))};
    });
}

void AppDelegate::beginHold(std::function<void()> action) {
    auto token = guard_.token();
    holdTimer_ = Timer(platform_.loop, store_->holdDuration().get(), false,
                       [this, token, action = std::move(action)] {
                           if (!LifetimeGuard::alive(token)) {
                               return;
                           }
                           holdTimer_.invalidate();
                           action();
                       });
}

ShortcutRegistration::Actions AppDelegate::actionsFor(const ShortcutTarget& target) {
    switch (target.kind) {
        case ShortcutTarget::Kind::focused:
            return {[this] { beginHold([this] { minimizer_->restoreLast([](bool) {}); }); },
                    [this] {
                        if (isHoldPending()) {
                            holdTimer_.invalidate();
                            hideFocusedFromShortcut();
                        }
                    }};
        case ShortcutTarget::Kind::all:
            return {[this] { beginHold([this] { restoreAllDesignated(); }); },
                    [this] {
                        if (isHoldPending()) {
                            holdTimer_.invalidate();
                            hideAllBound(true);
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
        case ShortcutTarget::Kind::focusMode:
        case ShortcutTarget::Kind::regionCover:
        case ShortcutTarget::Kind::regionClear:
            break;
    }
    // Focus mode and region covers arrive with their subsystems; until then their shortcuts are
    // held by the program and do nothing.
    return {[] {}, nullptr};
}

void AppDelegate::designateFromShortcut() {
    std::optional<WindowRef> window;
    if (platform_.accessibility.requestTrust()) {
        window = minimizer_->access().focusedWindow();
    }
    if (!window) {
        platform_.sound.beep();
        return;
    }
    toggleDesignation(*window, false);
}

std::optional<WindowBinding> AppDelegate::designatingBinding(const WindowRef& window) {
    if (auto id = minimizer_->bindingID(window.element)) {
        if (auto binding = store_->binding(*id)) {
            return binding;
        }
    }
    return store_->bindingMatching(liveWindow(window));
}

void AppDelegate::toggleDesignation(const WindowRef& window, bool fromThisWindowItem) {
    NoticeTexts texts(platform_.strings);
    auto binding = designatingBinding(window);
    if (!binding) {
        Uuid id = store_->designate(liveWindow(window));
        minimizer_->designate(window.element, id);
        auto created = store_->binding(id);
        std::string label =
            created ? created->label(platform_.strings) : minimizer_->access().label(window);
        std::optional<std::string> keys;
        if (const auto& all = store_->allCombo().get()) {
            keys = store_->displayText(*all);
        }
        showNotice(texts.designated(label, keys));
        return;
    }
    if (binding->wholeApp && !fromThisWindowItem) {
        std::string name = platform_.workspace.localizedName(window.app)
                               .value_or(platform_.strings.text("common.app"_key));
        showNotice(texts.wholeApp(name));
        return;
    }
    auto token = guard_.token();
    std::string label = binding->label(platform_.strings);
    store_->requestRemoveBinding(binding->id, [this, token, label](bool removed) {
        if (LifetimeGuard::alive(token) && removed) {
            showNotice(NoticeTexts(platform_.strings).unassigned(label));
        }
    });
}

void AppDelegate::bindingAction(const Uuid& id) {
    if (!platform_.accessibility.requestTrust()) {
        return;
    }
    auto binding = store_->binding(id);
    if (!binding) {
        return;
    }
    auto windows = minimizer_->windows(*binding);
    if (windows.empty()) {
        // The binding's window is not reachable now.
        platform_.sound.beep();
        return;
    }
    std::vector<WindowRef> shown;
    for (const auto& window : windows) {
        if (!minimizer_->isConcealed(window)) {
            shown.push_back(window);
        }
    }
    if (!shown.empty()) {
        for (const auto& window : shown) {
            minimizer_->hide(window, binding->locked, store_->useCover().get());
        }
        return;
    }
    // Everything is hidden already: only a deliberate hold brings the windows back.
    beginHold([this, windows] { minimizer_->reveal(windows, false, true, [](bool) {}); });
}

void AppDelegate::showNotice(const HUDContent& content) {
    hud_->show(content.title, content.detail);
}

void AppDelegate::hideFocusedFromShortcut() {
    if (!platform_.accessibility.requestTrust() ||
        !minimizer_->hideFocused(store_->lockFocused().get(), store_->useCover().get())) {
        platform_.sound.beep();
    }
}

std::pair<long, long> AppDelegate::hideAllBound(bool beep) {
    long found = 0;
    long hidden = 0;
    bool useCover = store_->useCover().get();
    // A copy: resolving a binding may report a new window number, which rewrites the store's list.
    const std::vector<WindowBinding> bindings = store_->bindings().get();
    for (const auto& binding : bindings) {
        for (const auto& window : minimizer_->windows(binding)) {
            if (!minimizer_->needsHide(window, binding.locked)) {
                continue;
            }
            ++found;
            if (minimizer_->hide(window, binding.locked, useCover)) {
                ++hidden;
            }
        }
    }
    if (beep && hidden == 0) {
        platform_.sound.beep();
    }
    return {found, hidden};
}

void AppDelegate::restoreAllDesignated() {
    minimizer_->prune();
    minimizer_->reveal(minimizer_->minimized(), false, true, [](bool) {});
}

}  // namespace nimbrel
