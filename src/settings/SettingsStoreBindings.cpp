// The binding part of the settings store: designated windows, their locks, and allowed apps.
#include <algorithm>

#include "settings/SettingsStore.h"

namespace nimbrel {

template <typename Edit>
void SettingsStore::editBinding(const Uuid& id, Edit edit) {
    auto list = values_.bindings.get();
    auto it =
        std::find_if(list.begin(), list.end(), [&](const WindowBinding& b) { return b.id == id; });
    if (it == list.end() || !edit(*it)) {
        return;
    }
    values_.bindings.set(std::move(list));
    save();
}

std::optional<WindowBinding> SettingsStore::binding(const Uuid& id) const {
    for (const auto& b : values_.bindings.get()) {
        if (b.id == id) {
            return b;
        }
    }
    return std::nullopt;
}

std::optional<WindowBinding> SettingsStore::bindingMatching(const LiveWindow& window) const {
    for (const auto& b : values_.bindings.get()) {
        if (b.matches(window)) {
            return b;
        }
    }
    return std::nullopt;
}

bool SettingsStore::isLocked(const ShortcutTarget& target) const {
    if (target.kind == ShortcutTarget::Kind::focused) {
        return values_.lockFocused.get();
    }
    if (target.isWindow()) {
        auto found = binding(target.id);
        return found && found->locked;
    }
    return false;
}

bool SettingsStore::isAllowed(const LiveApp& app) const {
    const auto& apps = values_.allowedApps.get();
    return std::any_of(apps.begin(), apps.end(),
                       [&](const AllowedApp& a) { return a.allows(app); });
}

WindowBinding SettingsStore::newBinding(const LiveWindow& window, bool locked) {
    WindowBinding b;
    b.id = services_.makeId();
    b.bundleID = window.app.bundleID;
    b.appName = window.app.localizedName.value_or(services_.strings.text("common.app"_key));
    b.title = window.title;
    b.locked = locked;
    if (window.number && *window.number != 0) {
        b.windowNumber = window.number;
    }
    return b;
}

Uuid SettingsStore::designate(const LiveWindow& window) {
    if (auto existing = bindingMatching(window)) {
        if (window.number && *window.number != 0 && !existing->windowNumber) {
            updateWindowNumber(existing->id, *window.number);
        }
        return existing->id;
    }
    WindowBinding b = newBinding(window, false);
    auto list = values_.bindings.get();
    list.push_back(b);
    values_.bindings.set(std::move(list));
    save();
    call(onShortcutsChanged);
    return b.id;
}

bool SettingsStore::addLockedBinding(const LiveWindow& window) {
    if (bindingMatching(window)) {
        return false;
    }
    auto list = values_.bindings.get();
    list.push_back(newBinding(window, true));
    values_.bindings.set(std::move(list));
    save();
    call(onShortcutsChanged);
    return true;
}

void SettingsStore::updateWindowNumber(const Uuid& id, WindowNumber number) {
    std::optional<WindowNumber> value;
    if (number != 0) {
        value = number;
    }
    editBinding(id, [&](WindowBinding& b) {
        if (b.windowNumber == value) {
            return false;
        }
        b.windowNumber = value;
        return true;
    });
}

void SettingsStore::updateTitle(const Uuid& id, const std::string& title) {
    editBinding(id, [&](WindowBinding& b) {
        if (b.title == title) {
            return false;
        }
        b.title = title;
        return true;
    });
}

void SettingsStore::requestSetLocked(bool locked, const ShortcutTarget& target) {
    if (locked) {
        setLocked(true, target);
        return;
    }
    authenticateThen("auth.reason.turnOffLock"_key, [this, target](bool success) {
        if (success) {
            setLocked(false, target);
        }
    });
}

void SettingsStore::setLocked(bool locked, const ShortcutTarget& target) {
    if (target.kind == ShortcutTarget::Kind::focused) {
        set(setting::lockFocused, locked);
        return;
    }
    if (!target.isWindow()) {
        return;
    }
    editBinding(target.id, [&](WindowBinding& b) {
        b.locked = locked;
        return true;
    });
}

void SettingsStore::toggleWholeApp(const Uuid& id) {
    auto found = binding(id);
    if (!found) {
        return;
    }
    // Narrowing a locked whole-app binding leaves its other windows unprotected.
    if (found->wholeApp && found->locked) {
        authenticateThen("auth.reason.narrowWholeApp"_key, [this, id](bool success) {
            if (!success) {
                return;
            }
            editBinding(id, [](WindowBinding& b) {
                if (!b.wholeApp) {
                    return false;
                }
                b.wholeApp = false;
                return true;
            });
        });
        return;
    }
    editBinding(id, [](WindowBinding& b) {
        b.wholeApp = !b.wholeApp;
        return true;
    });
}

void SettingsStore::requestRemoveBinding(const Uuid& id, Completion completion) {
    auto found = binding(id);
    if (!found) {
        completion(false);
        return;
    }
    if (!found->locked) {
        removeBinding(id);
        completion(true);
        return;
    }
    authenticateThen("auth.reason.removeLockedBinding"_key,
                     [this, id, completion = std::move(completion)](bool success) {
                         if (success) {
                             removeBinding(id);
                         }
                         completion(success);
                     });
}

void SettingsStore::removeBinding(const Uuid& id) {
    removeBindings({id});
}

void SettingsStore::removeBindings(const std::set<Uuid>& ids) {
    if (recording_.get() && recording_.get()->isWindow() && ids.count(recording_.get()->id) != 0) {
        stopRecording();
    }
    auto list = values_.bindings.get();
    if (std::erase_if(list, [&](const WindowBinding& b) { return ids.count(b.id) != 0; }) == 0) {
        return;
    }
    values_.bindings.set(std::move(list));
    save();
    call(onShortcutsChanged);
}

void SettingsStore::removeMissing(const std::set<Uuid>& ids, Completion completion) {
    const auto& list = values_.bindings.get();
    bool anyLocked = std::any_of(list.begin(), list.end(), [&](const WindowBinding& b) {
        return b.locked && ids.count(b.id) != 0;
    });
    if (!anyLocked) {
        removeBindings(ids);
        completion(true);
        return;
    }
    authenticateThen("auth.reason.removeMissing"_key,
                     [this, ids, completion = std::move(completion)](bool success) {
                         if (success) {
                             removeBindings(ids);
                         }
                         completion(success);
                     });
}

void SettingsStore::keepMissing(const std::set<Uuid>& ids) {
    auto list = values_.bindings.get();
    bool changed = false;
    for (auto& b : list) {
        if (ids.count(b.id) != 0 && !b.keepWhenMissing) {
            b.keepWhenMissing = true;
            changed = true;
        }
    }
    if (changed) {
        values_.bindings.set(std::move(list));
        save();
    }
}

void SettingsStore::addAllowedApp(const LiveApp& app) {
    AllowedApp entry{app.bundleID,
                     app.localizedName.value_or(services_.strings.text("common.app"_key))};
    auto list = values_.allowedApps.get();
    if (std::any_of(list.begin(), list.end(),
                    [&](const AllowedApp& a) { return a.id() == entry.id(); })) {
        return;
    }
    list.push_back(std::move(entry));
    values_.allowedApps.set(std::move(list));
    save();
}

void SettingsStore::removeAllowedApp(const std::string& id) {
    auto list = values_.allowedApps.get();
    if (std::erase_if(list, [&](const AllowedApp& a) { return a.id() == id; }) == 0) {
        return;
    }
    values_.allowedApps.set(std::move(list));
    save();
}

}  // namespace nimbrel
