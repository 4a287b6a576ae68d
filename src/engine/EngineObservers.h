#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

#include "engine/HiddenWindows.h"
#include "platform/Accessibility.h"
#include "platform/LifetimeGuard.h"
#include "platform/Workspace.h"

namespace nimbrel {

// The engine's accessibility observers, one per process, created on demand and destroyed with
// it: a locked window's moves and de-miniaturising, and the focused-window changes of the
// applications that have something parked or locked. Every notification goes to one handler.
class EngineObservers {
  public:
    using Handler =
        std::function<void(Pid pid, ElementRef element, const std::string& notification)>;

    EngineObservers(Accessibility& ax, Workspace& workspace, Handler handler)
        : ax_(ax), workspace_(workspace), handler_(std::move(handler)) {}
    EngineObservers(const EngineObservers&) = delete;
    EngineObservers& operator=(const EngineObservers&) = delete;
    ~EngineObservers();

    // None when the platform refuses one; asked again next time.
    ObserverRef observer(Pid pid);
    void watch(const Lock& lock);
    void unwatch(const Lock& lock);
    void watchFocus(AppRef app);
    bool isFocusWatched(Pid pid) const { return focusWatched_.count(pid) > 0; }

  private:
    Accessibility& ax_;
    Workspace& workspace_;
    Handler handler_;
    std::map<Pid, ObserverRef> observers_;
    std::set<Pid> focusWatched_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
