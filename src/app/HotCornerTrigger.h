#pragma once

#include <functional>

#include "platform/EventSource.h"
#include "platform/Geometry.h"
#include "platform/LifetimeGuard.h"
#include "platform/MainLoop.h"
#include "platform/Screens.h"
#include "platform/Subscription.h"
#include "settings/HotCorner.h"
#include "settings/SettingsStore.h"

namespace nimbrel {

// Hides the bound windows when the pointer reaches the chosen corner of the screen it is on. It
// watches every pointer movement on the desktop, so it watches only while a corner is set, and
// each movement costs no more than reading the pointer and the screens.
class HotCornerTrigger {
  public:
    // How close to an edge the pointer must come, in points.
    static constexpr double kBand = 4;
    // A corner fires at most once in this many seconds, however long the pointer stays there.
    static constexpr double kRepeatSeconds = 1.0;

    struct Services {
        SettingsStore& store;
        Screens& screens;
        EventSource& eventSource;
        MainLoop& loop;
        std::function<void()> hideAllBound;
    };

    explicit HotCornerTrigger(Services services) : services_(std::move(services)) {}
    HotCornerTrigger(const HotCornerTrigger&) = delete;
    HotCornerTrigger& operator=(const HotCornerTrigger&) = delete;

    // Starts or stops watching the pointer as the setting now says.
    void apply();
    bool isWatching() const { return monitor_.isActive(); }

    // The pointer moved.
    void check();

    // Whether the pointer (screen space, y up) is in `corner` of the screen with that frame.
    static bool isInCorner(HotCorner corner, Point pointer, const Rect& frame);

  private:
    Services services_;
    Subscription monitor_;
    TimePoint lastFire_ = kDistantPast;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
