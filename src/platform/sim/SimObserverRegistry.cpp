#include "platform/sim/SimObserverRegistry.h"

namespace nimbrel::sim {

ObserverRef SimObserverRegistry::create(Pid pid, AXObserverCallback callback) {
    ObserverRef ref{nextId_++};
    observers_.emplace(ref.id, Observer{pid, std::move(callback), {}});
    return ref;
}

Pid SimObserverRegistry::pidOf(ObserverRef observer) const {
    auto it = observers_.find(observer.id);
    return it == observers_.end() ? 0 : it->second.pid;
}

bool SimObserverRegistry::add(ObserverRef observer, ElementRef element,
                              const std::string& notification) {
    auto it = observers_.find(observer.id);
    if (it == observers_.end()) {
        return false;
    }
    return it->second.registrations.emplace(element.id, notification).second;
}

bool SimObserverRegistry::remove(ObserverRef observer, ElementRef element,
                                 const std::string& notification) {
    auto it = observers_.find(observer.id);
    if (it == observers_.end()) {
        return false;
    }
    return it->second.registrations.erase(Key{element.id, notification}) != 0;
}

void SimObserverRegistry::post(ElementRef registeredOn, const std::string& notification,
                               ElementRef about) {
    Key key{registeredOn.id, notification};
    for (const auto& [id, observer] : observers_) {
        if (observer.registrations.count(key) == 0) {
            continue;
        }
        loop_.post([this, id = id, key, about] {
            auto it = observers_.find(id);
            if (it == observers_.end() || it->second.registrations.count(key) == 0) {
                return;
            }
            // A copy: the callback may destroy its own observer.
            AXObserverCallback callback = it->second.callback;
            if (callback) {
                callback(about, key.second);
            }
        });
    }
}

bool SimObserverRegistry::isRegistered(ElementRef element, const std::string& notification) const {
    Key key{element.id, notification};
    for (const auto& [id, observer] : observers_) {
        if (observer.registrations.count(key) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace nimbrel::sim
