#include "engine/HiddenWindows.h"

#include <algorithm>

namespace nimbrel {

std::optional<bool> HiddenWindows::focusLocked() const {
    if (!focusActive_) {
        return std::nullopt;
    }
    return focusLocked_;
}

bool HiddenWindows::contains(ElementRef element) const {
    return std::any_of(minimized_.begin(), minimized_.end(),
                       [&](const WindowRef& w) { return w.element == element; });
}

std::optional<Point> HiddenWindows::origin(ElementRef element) const {
    for (const auto& entry : origins_) {
        if (entry.element == element) {
            return entry.origin;
        }
    }
    return std::nullopt;
}

const Lock* HiddenWindows::lockFor(ElementRef element) const {
    for (const auto& lock : locks_) {
        if (lock.element == element) {
            return &lock;
        }
    }
    return nullptr;
}

void HiddenWindows::moveToEnd(const WindowRef& window) {
    erase(window.element);
    minimized_.push_back(window);
}

void HiddenWindows::erase(ElementRef element) {
    std::erase_if(minimized_, [&](const WindowRef& w) { return w.element == element; });
}

void HiddenWindows::rememberOrigin(ElementRef element, Point origin) {
    eraseOrigin(element);
    origins_.push_back({element, origin});
}

void HiddenWindows::eraseOrigin(ElementRef element) {
    std::erase_if(origins_, [&](const HiddenOrigin& h) { return h.element == element; });
}

void HiddenWindows::addLock(const Lock& lock) {
    removeLock(lock.element);
    locks_.push_back(lock);
}

std::optional<Lock> HiddenWindows::removeLock(ElementRef element) {
    auto it = std::find_if(locks_.begin(), locks_.end(),
                           [&](const Lock& l) { return l.element == element; });
    if (it == locks_.end()) {
        return std::nullopt;
    }
    Lock lock = *it;
    locks_.erase(it);
    return lock;
}

std::vector<Lock> HiddenWindows::takeLocks() {
    std::vector<Lock> locks = std::move(locks_);
    locks_.clear();
    return locks;
}

void HiddenWindows::startFocus(bool locked) {
    focusActive_ = true;
    focusLocked_ = locked;
}

void HiddenWindows::clear() {
    origins_.clear();
    minimized_.clear();
}

}  // namespace nimbrel
