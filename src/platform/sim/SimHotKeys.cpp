#include "platform/sim/SimHotKeys.h"

#include <algorithm>

namespace nimbrel::sim {

SimHotKeys::SimHotKeys(MainLoop& loop)
    : loop_(loop), handlers_(std::make_shared<std::map<std::uint64_t, Handler>>()) {}

SimHotKeys::~SimHotKeys() {
    // Deliveries still queued on the loop find no handler once the service is gone.
    handlers_->clear();
}

Subscription SimHotKeys::installHandler(Handler handler) {
    std::uint64_t id = nextHandler_++;
    handlers_->emplace(id, std::move(handler));
    std::weak_ptr<std::map<std::uint64_t, Handler>> weak = handlers_;
    return Subscription([weak, id] {
        if (auto handlers = weak.lock()) {
            handlers->erase(id);
        }
    });
}

HotKeyStatus SimHotKeys::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                        HotKeyIdentity identity, HotKeyRef& ref) {
    ref = HotKeyRef{};
    // The system takes only the four modifier bits.
    if ((modifiers & ~std::uint32_t{0x1B00}) != 0 || keyCode > 0x7F) {
        return kHotKeyInvalidError;
    }
    if (taken_.count({keyCode, modifiers}) != 0 || find(keyCode, modifiers) != nullptr) {
        return kHotKeyExistsError;
    }
    ref = HotKeyRef{nextRef_++};
    registrations_.push_back(Registration{ref, keyCode, modifiers, identity});
    return kHotKeyNoError;
}

void SimHotKeys::unregisterHotKey(HotKeyRef ref) {
    stopRepeating(ref);
    std::erase_if(registrations_, [&](const Registration& r) { return r.ref == ref; });
}

void SimHotKeys::setTaken(std::uint32_t keyCode, std::uint32_t modifiers, bool taken) {
    if (taken) {
        taken_.insert({keyCode, modifiers});
    } else {
        taken_.erase({keyCode, modifiers});
    }
}

bool SimHotKeys::keyDown(std::uint32_t keyCode, std::uint32_t modifiers) {
    const Registration* registration = find(keyCode, modifiers);
    if (registration == nullptr) {
        return false;
    }
    HotKeyRef ref = registration->ref;
    deliver(HotKeyEventKind::pressed, ref);
    if (down_.count(ref.id) == 0) {
        startRepeating(ref);
    }
    return true;
}

bool SimHotKeys::keyUp(std::uint32_t keyCode, std::uint32_t modifiers) {
    // A held hot key ends when its key comes up, whatever modifiers are still down by then.
    for (auto& [id, timer] : down_) {
        const Registration* registration = find(HotKeyRef{id});
        if (registration != nullptr && registration->keyCode == keyCode) {
            HotKeyRef ref = registration->ref;
            stopRepeating(ref);
            deliver(HotKeyEventKind::released, ref);
            return true;
        }
    }
    // A key that went down before the combination was registered still reports its release.
    if (const Registration* registration = find(keyCode, modifiers)) {
        deliver(HotKeyEventKind::released, registration->ref);
        return true;
    }
    return false;
}

const SimHotKeys::Registration* SimHotKeys::find(HotKeyRef ref) const {
    auto it = std::find_if(registrations_.begin(), registrations_.end(),
                           [&](const Registration& r) { return r.ref == ref; });
    return it == registrations_.end() ? nullptr : &*it;
}

const SimHotKeys::Registration* SimHotKeys::find(std::uint32_t keyCode,
                                                 std::uint32_t modifiers) const {
    auto it = std::find_if(
        registrations_.begin(), registrations_.end(),
        [&](const Registration& r) { return r.keyCode == keyCode && r.modifiers == modifiers; });
    return it == registrations_.end() ? nullptr : &*it;
}

void SimHotKeys::deliver(HotKeyEventKind kind, HotKeyRef ref) {
    const Registration* registration = find(ref);
    if (registration == nullptr) {
        return;
    }
    // The event is queued like any other; by the time it runs the program may have dropped the
    // registration, and then it still arrives with the old id, as the system's would.
    HotKeyIdentity identity = registration->identity;
    std::weak_ptr<std::map<std::uint64_t, Handler>> weak = handlers_;
    loop_.post([weak, kind, identity] {
        auto handlers = weak.lock();
        if (!handlers) {
            return;
        }
        std::vector<std::uint64_t> ids;
        for (const auto& entry : *handlers) {
            ids.push_back(entry.first);
        }
        for (auto id : ids) {
            auto it = handlers->find(id);
            if (it == handlers->end()) {
                continue;
            }
            Handler handler = it->second;
            handler(kind, identity);
        }
    });
}

void SimHotKeys::startRepeating(HotKeyRef ref) {
    if (!autoRepeat_) {
        down_.emplace(ref.id, Timer());
        return;
    }
    down_.insert_or_assign(ref.id, Timer(loop_, kRepeatDelay, false, [this, ref] {
                               deliver(HotKeyEventKind::pressed, ref);
                               down_.insert_or_assign(
                                   ref.id, Timer(loop_, kRepeatInterval, true, [this, ref] {
                                       deliver(HotKeyEventKind::pressed, ref);
                                   }));
                           }));
}

void SimHotKeys::stopRepeating(HotKeyRef ref) {
    down_.erase(ref.id);
}

}  // namespace nimbrel::sim
