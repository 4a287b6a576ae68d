#pragma once

#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>

#include <QtCore/QObject>

#include <functional>
#include <memory>

#include "platform/LifetimeGuard.h"
#include "platform/Localizer.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/x11/Connection.h"
#include "platform/x11/SessionEventFilter.h"
#include "platform/x11/X11SystemNotifications.h"
#include "platform/x11/qt/DBusSignalRelay.h"
#include "platform/x11/qt/DelayInhibitor.h"

namespace nimbrel::x11 {

// The session's lock, sleep and power-off, as the services of the Linux session tell them over
// D-Bus, reported through the notifications: the login manager on the system bus (its session's
// Lock, Unlock and LockedHint, its PrepareForSleep and PrepareForShutdown) and the screen savers on
// the session bus (their ActiveChanged).
//
// While it lives it holds the manager's delay lock, so that a sleep or a power-off waits until the
// program has hidden what it hides: the lock is let go once the handlers of willSleep or
// willPowerOff have run and their requests have reached the X server, and taken again at wake.
// Without a login manager it says so once in the log; without a screen saver nothing is missed
// but the saver's own lock.
class SessionWatch {
  public:
    SessionWatch(QDBusConnection systemBus, QDBusConnection sessionBus, Connection& connection,
                 X11SystemNotifications& notifications, MainLoop& loop, Log& log,
                 const Localizer& strings);
    ~SessionWatch();
    SessionWatch(const SessionWatch&) = delete;
    SessionWatch& operator=(const SessionWatch&) = delete;

  private:
    // Asks asynchronously; `answered` hears the reply or the error on a later turn, unless this
    // object is gone by then.
    void call(QDBusConnection& bus, const QDBusMessage& message,
              std::function<void(const QDBusMessage&)> answered);
    void findSession();
    void sessionFound(const QString& path);
    void received(const QDBusMessage& message);
    void report(SessionEventFilter::Report report);
    // After the handlers of a coming sleep or power-off, and whatever they posted, have run.
    void letGo();
    void managerMissing(const QString& error);

    QDBusConnection systemBus_;
    QDBusConnection sessionBus_;
    Connection& connection_;
    X11SystemNotifications& notifications_;
    MainLoop& loop_;
    Log& log_;
    SessionEventFilter filter_;
    bool missingLogged_ = false;
    std::unique_ptr<DBusSignalRelay> relay_;
    std::unique_ptr<DelayInhibitor> inhibitor_;
    // The parent of the calls on their way, which go with this object.
    QObject calls_;
    LifetimeGuard guard_;
};

}  // namespace nimbrel::x11
