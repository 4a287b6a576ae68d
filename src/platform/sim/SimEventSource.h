#pragma once

#include "platform/EventSource.h"
#include "platform/sim/SimWorld.h"

namespace nimbrel::sim {

// Input times on the virtual clock; the desktop starts with one event of each kind at time 0.
class SimEventSource final : public EventSource {
  public:
    explicit SimEventSource(SimWorld& world) : world_(world) {}
    SimEventSource(const SimEventSource&) = delete;
    SimEventSource& operator=(const SimEventSource&) = delete;

    double secondsSinceLastEvent(InputEventType type) override {
        return world_.loop().now() - world_.lastInput(type);
    }
    Subscription observeMouseMoved(std::function<void(Point)> handler) override {
        return world_.mouseMonitors().add(SimMouseEvent::moved, std::move(handler));
    }

  private:
    SimWorld& world_;
};

}  // namespace nimbrel::sim
