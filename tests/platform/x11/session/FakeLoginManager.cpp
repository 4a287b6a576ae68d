#include "FakeLoginManager.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusObjectPath>
#include <QtDBus/QDBusUnixFileDescriptor>
#include <QtDBus/QDBusVariant>

namespace nimbrel::test {
namespace {

const QString kName = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

}  // namespace

FakeLoginManager::FakeLoginManager(QDBusConnection bus) : bus_(std::move(bus)) {
    serves_ = bus_.registerVirtualObject(kManagerPath, this, QDBusConnection::SubPath) &&
              bus_.registerService(kName);
}

FakeLoginManager::~FakeLoginManager() {
    bus_.unregisterService(kName);
    bus_.unregisterObject(kManagerPath, QDBusConnection::UnregisterTree);
    for (int fd : farEnds_) {
        ::close(fd);
    }
}

void FakeLoginManager::send(const QDBusMessage& message) {
    bus_.send(message);
}

void FakeLoginManager::lock() {
    send(QDBusMessage::createSignal(QString::fromLatin1(kSessionPath), kSession,
                                    QStringLiteral("Lock")));
}

void FakeLoginManager::unlock() {
    send(QDBusMessage::createSignal(QString::fromLatin1(kSessionPath), kSession,
                                    QStringLiteral("Unlock")));
}

void FakeLoginManager::setLockedHint(bool locked) {
    lockedHint_ = locked;
    QDBusMessage changed = QDBusMessage::createSignal(
        QString::fromLatin1(kSessionPath), kProperties, QStringLiteral("PropertiesChanged"));
    changed << kSession << QVariantMap{{QStringLiteral("LockedHint"), locked}} << QStringList();
    send(changed);
}

void FakeLoginManager::prepareForSleep(bool starting) {
    QDBusMessage signal =
        QDBusMessage::createSignal(kManagerPath, kManager, QStringLiteral("PrepareForSleep"));
    signal << starting;
    send(signal);
}

void FakeLoginManager::prepareForShutdown(bool starting) {
    QDBusMessage signal =
        QDBusMessage::createSignal(kManagerPath, kManager, QStringLiteral("PrepareForShutdown"));
    signal << starting;
    send(signal);
}

int FakeLoginManager::inhibitorsHeld() const {
    int held = 0;
    for (int fd : farEnds_) {
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, 0) == 0 || (wait.revents & POLLHUP) == 0) {
            ++held;
        }
    }
    return held;
}

QString FakeLoginManager::introspect(const QString&) const {
    return {};
}

bool FakeLoginManager::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
    const QString member = message.member();
    const QList<QVariant> arguments = message.arguments();
    calls_.push_back(member.toStdString());
    if (member == QLatin1String("GetSession")) {
        if (!arguments.isEmpty() && arguments[0].toString() == QLatin1String(kSessionId)) {
            send(message.createReply(
                QVariant::fromValue(QDBusObjectPath(QString::fromLatin1(kSessionPath)))));
        } else {
            send(message.createErrorReply(QStringLiteral("org.freedesktop.login1.NoSuchSession"),
                                          QStringLiteral("No such session")));
        }
        return true;
    }
    if (member == QLatin1String("GetSessionByPID")) {
        send(message.createReply(
            QVariant::fromValue(QDBusObjectPath(QString::fromLatin1(kSessionPath)))));
        return true;
    }
    if (member == QLatin1String("Inhibit") && arguments.size() == 4) {
        int ends[2] = {-1, -1};
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                                          QStringLiteral("no pipe")));
            return true;
        }
        inhibits_.push_back(arguments[0].toString().toStdString() + " " +
                            arguments[3].toString().toStdString());
        farEnds_.push_back(ends[0]);
        // The message carries its own copy; the one left here closes at once.
        send(message.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]))));
        ::close(ends[1]);
        return true;
    }
    if (member == QLatin1String("Get") && message.path() == QLatin1String(kSessionPath)) {
        send(message.createReply(QVariant::fromValue(QDBusVariant(lockedHint_))));
        return true;
    }
    send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                  member));
    return true;
}

}  // namespace nimbrel::test
