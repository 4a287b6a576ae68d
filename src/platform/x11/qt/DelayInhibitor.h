#pragma once

#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusUnixFileDescriptor>

#include <functional>
#include <memory>

#include "platform/LifetimeGuard.h"

class QDBusPendingCallWatcher;

namespace nimbrel::x11 {

// The login manager's delay lock on sleep and power-off: while the program holds its descriptor,
// the manager waits (up to a limit of its own) before it goes on, so the program can finish what
// the coming sleep asks of it. Closing the descriptor lets the manager go on.
class DelayInhibitor {
  public:
    // `who` and `why` are what the manager shows of the lock; `refused` hears why the manager did
    // not hand one out (its D-Bus error name).
    DelayInhibitor(QDBusConnection bus, QString who, QString why,
                   std::function<void(const QString& error)> refused);
    ~DelayInhibitor();
    DelayInhibitor(const DelayInhibitor&) = delete;
    DelayInhibitor& operator=(const DelayInhibitor&) = delete;

    // Asks for a lock unless one is held or asked for; the answer comes on a later turn.
    void take();
    // Closes the held descriptor; a lock still on its way is let go as soon as it comes.
    void release();
    bool isHeld() const { return held_.isValid(); }

  private:
    void answered(QDBusPendingCallWatcher* call);

    QDBusConnection bus_;
    QString who_;
    QString why_;
    std::function<void(const QString&)> refused_;
    QDBusUnixFileDescriptor held_;
    QDBusPendingCallWatcher* asking_ = nullptr;
    bool wanted_ = false;
    LifetimeGuard guard_;
};

}  // namespace nimbrel::x11
