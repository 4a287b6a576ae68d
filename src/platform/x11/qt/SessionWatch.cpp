#include "platform/x11/qt/SessionWatch.h"

#include <unistd.h>
#include <xcb/xcb_aux.h>

#include <QtDBus/QDBusArgument>
#include <QtDBus/QDBusMetaType>
#include <QtDBus/QDBusObjectPath>
#include <QtDBus/QDBusPendingCallWatcher>
#include <QtDBus/QDBusPendingReply>
#include <QtDBus/QDBusVariant>

#include <string>

namespace nimbrel::x11 {
namespace {

const QString kLogin = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// The freedesktop screen saver, and the desktops' own that tell the same where they keep one. Any
// path: some publish the saver at more than one, and the filter hears a repeated change once.
struct ScreenSaver {
    const char* service;
    const char* interface;
};
constexpr ScreenSaver kScreenSavers[] = {
    {"org.freedesktop.ScreenSaver", "org.freedesktop.ScreenSaver"},
    {"org.gnome.ScreenSaver", "org.gnome.ScreenSaver"},
    {"org.mate.ScreenSaver", "org.mate.ScreenSaver"},
    {"org.cinnamon.ScreenSaver", "org.cinnamon.ScreenSaver"},
    {"org.xfce.ScreenSaver", "org.xfce.ScreenSaver"},
};

// An error the login manager itself gave (it answered, but not as asked), as opposed to the bus's
// (nobody owns the name, nobody answered).
bool fromManager(const QString& errorName) {
    return errorName.startsWith(kLogin + QLatin1Char('.'));
}

bool firstFlag(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    return !arguments.isEmpty() && arguments.front().toBool();
}

QDBusMessage managerCall(const QString& method) {
    return QDBusMessage::createMethodCall(kLogin, kManagerPath, kManager, method);
}

}  // namespace

SessionWatch::SessionWatch(QDBusConnection systemBus, QDBusConnection sessionBus,
                           Connection& connection, X11SystemNotifications& notifications,
                           MainLoop& loop, Log& log, const Localizer& strings)
    : systemBus_(std::move(systemBus)),
      sessionBus_(std::move(sessionBus)),
      connection_(connection),
      notifications_(notifications),
      loop_(loop),
      log_(log) {
    // Bus signals arrive inside whatever Qt loop turns, a modal alert's too; the program hears
    // them on its own loop, in the order they came.
    relay_ = std::make_unique<DBusSignalRelay>(guard_.wrap([this](const QDBusMessage& message) {
        loop_.post(guard_.wrap([this, message] { received(message); }));
    }));
    inhibitor_ = std::make_unique<DelayInhibitor>(
        systemBus_, QStringLiteral("Nimbrel"),
        QString::fromStdString(strings.text("session.inhibitor.reason"_key)),
        guard_.wrap([this](const QString& error) {
            if (!fromManager(error)) {
                managerMissing(error);
            }
        }));
    for (const auto& saver : kScreenSavers) {
        relay_->listen(sessionBus_, QString::fromLatin1(saver.service), QString(),
                       QString::fromLatin1(saver.interface), QStringLiteral("ActiveChanged"));
    }
    if (!systemBus_.isConnected()) {
        managerMissing(systemBus_.lastError().name());
        return;
    }
    for (const char* signal : {"PrepareForSleep", "PrepareForShutdown"}) {
        relay_->listen(systemBus_, kLogin, kManagerPath, kManager, QString::fromLatin1(signal));
    }
    inhibitor_->take();
    findSession();
}

SessionWatch::~SessionWatch() {
    // What the program did last (the hiding of a power-off) reaches the server before the delay
    // lock closes with this object.
    xcb_aux_sync(connection_.get());
}

void SessionWatch::call(QDBusConnection& bus, const QDBusMessage& message,
                        std::function<void(const QDBusMessage&)> answered) {
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message), &calls_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [answered = std::move(answered)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         answered(finished->reply());
                     });
}

void SessionWatch::findSession() {
    // The session the program runs in: the one the environment names, else the one its process
    // belongs to (a program started outside the session's own start-up may lack the name).
    QByteArray id = qgetenv("XDG_SESSION_ID");
    QDBusMessage bySession = managerCall(QStringLiteral("GetSession"));
    bySession << QString::fromUtf8(id);
    QDBusMessage byProcess = managerCall(QStringLiteral("GetSessionByPID"));
    byProcess << static_cast<uint>(::getpid());
    auto byProcessAnswered = guard_.wrap([this](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            sessionFound(qdbus_cast<QDBusObjectPath>(reply.arguments().front()).path());
        } else if (fromManager(reply.errorName())) {
            log_.log(
                "the login manager knows no session of this process: only a screen saver "
                "tells of a lock");
        } else {
            managerMissing(reply.errorName());
        }
    });
    if (id.isEmpty()) {
        call(systemBus_, byProcess, byProcessAnswered);
        return;
    }
    call(systemBus_, bySession,
         guard_.wrap([this, byProcess, byProcessAnswered](const QDBusMessage& reply) {
             if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                 sessionFound(qdbus_cast<QDBusObjectPath>(reply.arguments().front()).path());
             } else if (fromManager(reply.errorName())) {
                 call(systemBus_, byProcess, byProcessAnswered);
             } else {
                 managerMissing(reply.errorName());
             }
         }));
}

void SessionWatch::sessionFound(const QString& path) {
    for (const char* signal : {"Lock", "Unlock"}) {
        relay_->listen(systemBus_, kLogin, path, kSession, QString::fromLatin1(signal));
    }
    relay_->listen(systemBus_, kLogin, path, kProperties, QStringLiteral("PropertiesChanged"));
    // A session locked before the program started: its unlock must still count.
    QDBusMessage hint =
        QDBusMessage::createMethodCall(kLogin, path, kProperties, QStringLiteral("Get"));
    hint << kSession << QStringLiteral("LockedHint");
    call(systemBus_, hint, guard_.wrap([this](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            auto value = qdbus_cast<QDBusVariant>(reply.arguments().front()).variant();
            filter_.lockedAtStart(value.toBool());
        }
    }));
}

void SessionWatch::received(const QDBusMessage& message) {
    using Report = SessionEventFilter::Report;
    const QString member = message.member();
    if (member == QLatin1String("Lock")) {
        report(Report::locked);
    } else if (member == QLatin1String("Unlock")) {
        report(Report::unlocked);
    } else if (member == QLatin1String("ActiveChanged")) {
        report(firstFlag(message) ? Report::locked : Report::unlocked);
    } else if (member == QLatin1String("PropertiesChanged")) {
        const QList<QVariant> arguments = message.arguments();
        if (arguments.size() < 2 || arguments[0].toString() != kSession) {
            return;
        }
        auto changed = qdbus_cast<QVariantMap>(arguments[1]);
        auto hint = changed.constFind(QStringLiteral("LockedHint"));
        if (hint != changed.constEnd()) {
            report(hint->toBool() ? Report::locked : Report::unlocked);
        }
    } else if (member == QLatin1String("PrepareForSleep")) {
        bool starting = firstFlag(message);
        report(starting ? Report::sleeping : Report::awake);
        if (starting) {
            letGo();
        } else {
            inhibitor_->take();
        }
    } else if (member == QLatin1String("PrepareForShutdown")) {
        bool starting = firstFlag(message);
        report(starting ? Report::poweringOff : Report::powerOffCancelled);
        if (starting) {
            letGo();
        } else {
            inhibitor_->take();
        }
    }
}

void SessionWatch::report(SessionEventFilter::Report report) {
    if (auto event = filter_.take(report)) {
        notifications_.notify(*event);
    }
}

void SessionWatch::letGo() {
    // Posted work of the handlers comes first in the loop; the round trip then makes sure the
    // server has every request they made before the machine stops.
    loop_.post(guard_.wrap([this] {
        xcb_aux_sync(connection_.get());
        inhibitor_->release();
    }));
}

void SessionWatch::managerMissing(const QString& error) {
    if (missingLogged_) {
        return;
    }
    missingLogged_ = true;
    std::string why = error.isEmpty() ? std::string() : " (" + error.toStdString() + ")";
    log_.log("no login manager on the system bus" + why +
             ": sleep and power-off go unseen, and only a screen saver tells of a lock");
}

}  // namespace nimbrel::x11
