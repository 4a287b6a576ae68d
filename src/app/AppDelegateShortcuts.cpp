// The global shortcuts: a short press does the everyday action, holding the keys for the hold
// duration does the opposite one.
#include "app/AppDelegate.h"

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
        default:
            // The other targets' actions arrive with their subsystems; until then their shortcut
            // is held by the program but does nothing.
            return {[] {}, nullptr};
    }
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
    // Bound windows are found once designated windows can be resolved; nothing is bound before.
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
