#pragma once

#include <QtCore/QObject>

#include <deque>
#include <map>
#include <memory>
#include <set>

#include "platform/MainLoop.h"

class QTimer;

namespace nimbrel::x11 {

// The main loop is Qt's event loop. The clock is the wall clock on the program's reference scale,
// since persisted dates use it too.
//
// A modal alert runs a nested Qt loop, but the program expects its own loop to stand still while
// one is up. So the loop can be held: while it is, posted work and timer firings wait in order and
// run once it is released, and whoever feeds events to the program posts them instead.
class QtMainLoop final : public MainLoop {
  public:
    QtMainLoop();
    ~QtMainLoop() override;

    TimePoint now() override;
    void post(std::function<void()> work) override;
    TimerId startTimer(double interval, bool repeats, std::function<void()> fire) override;
    void cancelTimer(TimerId id) override;

    void hold() { ++holds_; }
    void release();
    bool isHeld() const { return holds_ > 0; }

  private:
    struct Entry {
        std::unique_ptr<QTimer, void (*)(QTimer*)> timer;
        std::function<void()> fire;
        bool repeats = false;
    };
    void fired(TimerId id);
    void run(TimerId id);
    // Runs the waiting work in order, unless the loop is held.
    void drain();

    QObject context_;
    std::map<TimerId, Entry> timers_;
    TimerId nextId_ = 1;
    int holds_ = 0;
    // Work that came while the loop was held, in the order it came; later work queues behind it.
    std::deque<std::function<void()>> waiting_;
    std::set<TimerId> waitingFires_;
};

}  // namespace nimbrel::x11
