#include "hotkeys/HotKeyCenter.h"

#include <utility>

namespace nimbrel {

HotKeyCenter::HotKeyCenter(HotKeyService& service) : service_(service) {
    // The subscription ends with the center, so the service never calls into a dead one.
    events_ = service_.installHandler(
        [this](HotKeyEventKind kind, HotKeyIdentity identity) { handle(kind, identity); });
}

HotKeyCenter::~HotKeyCenter() {
    events_.cancel();
    unregisterAll();
}

bool HotKeyCenter::registerHotKey(const KeyCombo& combo, std::function<void()> press,
                                  std::function<void()> release) {
    HotKeyRef ref;
    HotKeyStatus status =
        service_.registerHotKey(combo.keyCode, combo.modifiers, {kSignature, nextID_}, ref);
    if (status != kHotKeyNoError || !ref) {
        return false;
    }
    refs_.push_back(ref);
    handlers_.insert_or_assign(nextID_, Handler{std::move(press), std::move(release)});
    ++nextID_;
    return true;
}

void HotKeyCenter::unregisterAll() {
    for (HotKeyRef ref : refs_) {
        service_.unregisterHotKey(ref);
    }
    refs_.clear();
    handlers_.clear();
    held_.clear();
}

void HotKeyCenter::handle(HotKeyEventKind kind, HotKeyIdentity identity) {
    // Ids are unique to this program, so the signature needs no check.
    auto it = handlers_.find(identity.id);
    if (it == handlers_.end()) {
        return;
    }
    // The action may clear the center (a shortcut that changes the shortcuts), so it runs from a
    // copy.
    if (kind == HotKeyEventKind::pressed) {
        // Keyboard auto-repeat sends more pressed events while the key is held: one press only.
        if (!held_.insert(identity.id).second) {
            return;
        }
        auto press = it->second.press;
        if (press) {
            press();
        }
        return;
    }
    held_.erase(identity.id);
    auto release = it->second.release;
    if (release) {
        release();
    }
}

}  // namespace nimbrel
