#pragma once

#include <optional>
#include <vector>

#include "engine/WindowRef.h"
#include "platform/Geometry.h"

namespace nimbrel {

// A hidden window that comes back only after the user authenticates.
struct Lock {
    ElementRef element;
    AppRef app;
    std::optional<Point> origin;  // where a parked window was; none when covered or minimised
};

// Where a parked, unlocked window's top-left corner was before it was parked.
struct HiddenOrigin {
    ElementRef element;
    Point origin;
};

// The records of what the engine hid: the hidden windows in the order they were hidden, where
// the parked ones were, which are locked, and which focus mode hid. Each window appears at most
// once in each list. The engine is its only writer; everyone else reads it through a const view.
class HiddenWindows {
  public:
    // Oldest first; the last one is what restoring the last window brings back.
    const std::vector<WindowRef>& minimized() const { return minimized_; }
    const std::vector<Lock>& locks() const { return locks_; }
    const std::vector<HiddenOrigin>& hiddenOrigins() const { return origins_; }
    const std::vector<WindowRef>& focusHidden() const { return focusHidden_; }
    bool focusActive() const { return focusActive_; }
    // Whether focus mode locks what it hides; none while it is off.
    std::optional<bool> focusLocked() const;

    bool contains(ElementRef element) const;
    std::optional<Point> origin(ElementRef element) const;
    const Lock* lockFor(ElementRef element) const;
    bool isLocked(ElementRef element) const { return lockFor(element) != nullptr; }
    bool hasLocks() const { return !locks_.empty(); }

    // Puts the window last, as the one hidden most recently.
    void moveToEnd(const WindowRef& window);
    void add(const WindowRef& window) { moveToEnd(window); }
    void erase(ElementRef element);
    template <typename Pred>
    void eraseIf(Pred pred) {
        std::erase_if(minimized_, pred);
    }

    void rememberOrigin(ElementRef element, Point origin);
    void eraseOrigin(ElementRef element);
    template <typename Pred>
    void eraseOriginsIf(Pred pred) {
        std::erase_if(origins_, pred);
    }

    void addLock(const Lock& lock);
    // The lock it removed, if the window had one.
    std::optional<Lock> removeLock(ElementRef element);
    std::vector<Lock> takeLocks();

    void addFocusHidden(const WindowRef& window) { focusHidden_.push_back(window); }
    void startFocus(bool locked);

    // Forgets every hidden window and origin; locks go through `takeLocks`.
    void clear();

  private:
    std::vector<WindowRef> minimized_;
    std::vector<HiddenOrigin> origins_;
    std::vector<Lock> locks_;
    std::vector<WindowRef> focusHidden_;
    bool focusActive_ = false;
    bool focusLocked_ = false;
};

}  // namespace nimbrel
