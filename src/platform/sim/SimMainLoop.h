#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "platform/MainLoop.h"

namespace nimbrel::sim {

// A main loop on a virtual clock. Nothing runs by itself: the desktop turns the loop after every
// command (runDue) and moves time on only when told (advance), running due work in time order.
class SimMainLoop final : public MainLoop {
  public:
    TimePoint now() override { return now_; }
    void post(std::function<void()> work) override;
    TimerId startTimer(double interval, bool repeats, std::function<void()> fire) override;
    void cancelTimer(TimerId id) override;

    // Runs all work due at the current time, including what that work posts for now.
    void runDue();
    // Moves the clock forward, running every timer and queued work as its time comes.
    void advance(double seconds);
    // Time that passes inside a blocking call (an application that does not answer): the clock
    // moves but nothing runs until the current work is done.
    void elapse(double seconds) { now_ += seconds; }
    // The program's process ended: none of its pending work or timers survive it.
    void discardAll() {
        entries_.clear();
        keys_.clear();
    }

    bool hasPendingWork() const { return !entries_.empty(); }
    std::size_t pendingCount() const { return entries_.size(); }

  private:
    struct Entry {
        std::function<void()> work;
        double interval = 0;
        bool repeats = false;
    };
    // Keyed by (due time, order of scheduling, id): equal due times run in the order scheduled.
    using Key = std::tuple<TimePoint, std::uint64_t, TimerId>;

    bool runNext(TimePoint limit);

    TimePoint now_ = 0;
    std::uint64_t sequence_ = 0;
    TimerId nextId_ = 1;
    std::map<Key, Entry> entries_;
    std::map<TimerId, Key> keys_;
};

}  // namespace nimbrel::sim
