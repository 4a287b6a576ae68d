#include "engine/EngineObservers.h"

#include "platform/AccessibilityNames.h"

namespace nimbrel {

EngineObservers::~EngineObservers() {
    for (auto& [pid, observer] : observers_) {
        ax_.destroyObserver(observer);
    }
}

ObserverRef EngineObservers::observer(Pid pid) {
    if (auto it = observers_.find(pid); it != observers_.end()) {
        return it->second;
    }
    ObserverRef created = ax_.createObserver(
        pid, guard_.wrap([this, pid](ElementRef element, const std::string& notification) {
            handler_(pid, element, notification);
        }));
    if (created) {
        observers_.emplace(pid, created);
    }
    return created;
}

void EngineObservers::watch(const Lock& lock) {
    ObserverRef watcher = observer(workspace_.processID(lock.app));
    if (!watcher) {
        return;
    }
    ax_.addNotification(watcher, lock.element, ax::notification::kWindowDeminiaturized);
    ax_.addNotification(watcher, lock.element, ax::notification::kWindowMoved);
}

void EngineObservers::unwatch(const Lock& lock) {
    auto it = observers_.find(workspace_.processID(lock.app));
    if (it == observers_.end()) {
        return;
    }
    ax_.removeNotification(it->second, lock.element, ax::notification::kWindowDeminiaturized);
    ax_.removeNotification(it->second, lock.element, ax::notification::kWindowMoved);
}

void EngineObservers::watchFocus(AppRef app) {
    Pid pid = workspace_.processID(app);
    if (focusWatched_.count(pid)) {
        return;
    }
    ObserverRef watcher = observer(pid);
    if (!watcher) {
        return;
    }
    if (ax_.addNotification(watcher, ax_.applicationElement(pid),
                            ax::notification::kFocusedWindowChanged) == AXError::success) {
        focusWatched_.insert(pid);
    }
}

}  // namespace nimbrel
