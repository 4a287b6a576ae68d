#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "platform/MainLoop.h"
#include "platform/Subscription.h"

namespace nimbrel::sim {

// Handlers registered through a Subscription, each for one event kind. Deliveries go through the
// main loop; a handler whose subscription ended before its delivery ran is not called, so nothing
// reaches an object that has already let go of its subscription.
template <typename Event, typename... Args>
class SimHandlerList {
  public:
    using Handler = std::function<void(Args...)>;

    explicit SimHandlerList(MainLoop& loop) : loop_(loop) {}
    SimHandlerList(const SimHandlerList&) = delete;
    SimHandlerList& operator=(const SimHandlerList&) = delete;

    Subscription add(Event event, Handler handler) {
        std::uint64_t id = nextId_++;
        entries_.emplace(id, Entry{event, std::move(handler)});
        return Subscription([this, id] { entries_.erase(id); });
    }

    // Queues one delivery per handler registered now for the event, in registration order.
    void post(Event event, Args... args) {
        for (const auto& [id, entry] : entries_) {
            if (entry.event != event) {
                continue;
            }
            loop_.post([this, id = id, args...] {
                auto it = entries_.find(id);
                if (it == entries_.end()) {
                    return;
                }
                // A copy, so that the handler may end its own subscription while it runs.
                Handler handler = it->second.handler;
                handler(args...);
            });
        }
    }

    // The program ended: its registrations go with it (its Subscriptions then cancel nothing).
    void clear() { entries_.clear(); }
    std::size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        Event event;
        Handler handler;
    };
    MainLoop& loop_;
    std::uint64_t nextId_ = 1;
    std::map<std::uint64_t, Entry> entries_;
};

}  // namespace nimbrel::sim
