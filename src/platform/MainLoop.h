#pragma once

#include <cstdint>
#include <functional>
#include <limits>

namespace nimbrel {

// Seconds since the platform's reference date, 1 January 2001 00:00:00 UTC; persisted dates use
// the same scale.
using TimePoint = double;
inline constexpr TimePoint kDistantPast = -std::numeric_limits<double>::infinity();

using TimerId = std::uint64_t;

// The main thread's clock, queue and timers. Everything the program does runs from here.
class MainLoop {
  public:
    virtual ~MainLoop() = default;
    virtual TimePoint now() = 0;
    // Runs the work on the main loop after the current work, in the order posted.
    virtual void post(std::function<void()> work) = 0;
    // Fires after `interval` seconds, and every `interval` after that when repeating. Never 0.
    virtual TimerId startTimer(double interval, bool repeats, std::function<void()> fire) = 0;
    // Cancelling an unknown or finished timer does nothing.
    virtual void cancelTimer(TimerId id) = 0;
};

// A timer that ends with its owner: destroying or resetting it cancels the platform timer.
class Timer {
  public:
    Timer() = default;
    Timer(MainLoop& loop, double interval, bool repeats, std::function<void()> fire)
        : loop_(&loop), id_(loop.startTimer(interval, repeats, std::move(fire))) {}
    Timer(Timer&& other) noexcept : loop_(other.loop_), id_(other.id_) { other.id_ = 0; }
    Timer& operator=(Timer&& other) noexcept {
        if (this != &other) {
            invalidate();
            loop_ = other.loop_;
            id_ = other.id_;
            other.id_ = 0;
        }
        return *this;
    }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer() { invalidate(); }

    void invalidate() {
        if (id_ != 0 && loop_ != nullptr) {
            loop_->cancelTimer(id_);
        }
        id_ = 0;
    }
    bool isArmed() const { return id_ != 0; }

  private:
    MainLoop* loop_ = nullptr;
    TimerId id_ = 0;
};

}  // namespace nimbrel
