#include "platform/x11/qt/QtMainLoop.h"

#include <QtCore/QDateTime>
#include <QtCore/QTimer>

#include <cmath>

namespace nimbrel::x11 {
namespace {

// 1 January 2001 00:00:00 UTC in Unix time.
constexpr double kReferenceDate = 978307200.0;

// A timer may be cancelled from its own timeout, while Qt is still delivering it.
void deleteLater(QTimer* timer) {
    timer->stop();
    timer->deleteLater();
}

}  // namespace

QtMainLoop::QtMainLoop() = default;

QtMainLoop::~QtMainLoop() = default;

TimePoint QtMainLoop::now() {
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0 - kReferenceDate;
}

void QtMainLoop::post(std::function<void()> work) {
    QMetaObject::invokeMethod(
        &context_,
        [this, work = std::move(work)] {
            if (isHeld() || !waiting_.empty()) {
                waiting_.push_back(work);
                drain();
                return;
            }
            work();
        },
        Qt::QueuedConnection);
}

TimerId QtMainLoop::startTimer(double interval, bool repeats, std::function<void()> fire) {
    TimerId id = nextId_++;
    auto* timer = new QTimer();
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(!repeats);
    // At least a millisecond: a zero-interval Qt timer would fire on every turn of the loop.
    double ms = std::ceil(std::max(interval, 0.001) * 1000.0);
    timer->setInterval(static_cast<int>(std::min(ms, 2147483647.0)));
    QObject::connect(timer, &QTimer::timeout, &context_, [this, id] { fired(id); });
    timers_.emplace(id, Entry{{timer, &deleteLater}, std::move(fire), repeats});
    timer->start();
    return id;
}

void QtMainLoop::cancelTimer(TimerId id) {
    timers_.erase(id);
    waitingFires_.erase(id);
}

void QtMainLoop::fired(TimerId id) {
    if (!isHeld() && waiting_.empty()) {
        run(id);
        return;
    }
    // A repeating timer that fires several times while held runs once when released.
    if (waitingFires_.insert(id).second) {
        waiting_.push_back([this, id] {
            if (waitingFires_.erase(id) > 0) {
                run(id);
            }
        });
    }
    drain();
}

void QtMainLoop::run(TimerId id) {
    auto found = timers_.find(id);
    if (found == timers_.end()) {
        return;
    }
    // The work may cancel this timer or start others; keep it alive through the call.
    auto fire = found->second.fire;
    if (!found->second.repeats) {
        timers_.erase(found);
    }
    fire();
}

void QtMainLoop::release() {
    if (holds_ == 0 || --holds_ > 0 || waiting_.empty()) {
        return;
    }
    // The waiting work runs on the next turn, after whatever released the loop has returned.
    QMetaObject::invokeMethod(
        &context_, [this] { drain(); }, Qt::QueuedConnection);
}

void QtMainLoop::drain() {
    while (!waiting_.empty() && !isHeld()) {
        auto work = std::move(waiting_.front());
        waiting_.pop_front();
        work();
    }
}

}  // namespace nimbrel::x11
