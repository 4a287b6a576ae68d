#include "platform/sim/SimMainLoop.h"

#include <utility>

namespace nimbrel::sim {

void SimMainLoop::post(std::function<void()> work) {
    TimerId id = nextId_++;
    Key key{now_, sequence_++, id};
    entries_.emplace(key, Entry{std::move(work), 0, false});
    keys_.emplace(id, key);
}

TimerId SimMainLoop::startTimer(double interval, bool repeats, std::function<void()> fire) {
    // A zero interval would spin forever on a repeating timer; the platform treats it as a tiny
    // one.
    if (!(interval > 0)) {
        interval = 0.0001;
    }
    TimerId id = nextId_++;
    Key key{now_ + interval, sequence_++, id};
    entries_.emplace(key, Entry{std::move(fire), interval, repeats});
    keys_.emplace(id, key);
    return id;
}

void SimMainLoop::cancelTimer(TimerId id) {
    auto it = keys_.find(id);
    if (it == keys_.end()) {
        return;
    }
    entries_.erase(it->second);
    keys_.erase(it);
}

bool SimMainLoop::runNext(TimePoint limit) {
    if (entries_.empty()) {
        return false;
    }
    auto it = entries_.begin();
    auto [due, seq, id] = it->first;
    if (due > limit) {
        return false;
    }
    Entry entry = std::move(it->second);
    entries_.erase(it);
    keys_.erase(id);
    if (due > now_) {
        now_ = due;
    }
    if (entry.repeats) {
        // Rescheduled before firing, so that the work can cancel its own timer.
        Key next{due + entry.interval, sequence_++, id};
        entries_.emplace(next, Entry{entry.work, entry.interval, true});
        keys_.emplace(id, next);
    }
    entry.work();
    return true;
}

void SimMainLoop::runDue() {
    while (runNext(now_)) {
    }
}

void SimMainLoop::advance(double seconds) {
    TimePoint target = now_ + (seconds > 0 ? seconds : 0);
    while (runNext(target)) {
    }
    if (now_ < target) {
        now_ = target;
    }
    runDue();
}

}  // namespace nimbrel::sim
