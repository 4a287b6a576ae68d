#include "platform/x11/qt/FprintdFingers.h"

#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusObjectPath>

namespace nimbrel::x11 {
namespace {

const QString kFprintService = QStringLiteral("net.reactivated.Fprint");
// A service that hangs must not stall the program's loop for D-Bus's default 25 seconds.
constexpr int kFprintTimeoutMs = 1000;

QDBusMessage askFprint(const QString& path, const QString& interface, const QString& method,
                       const QVariantList& arguments = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(kFprintService, path, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::systemBus().call(call, QDBus::Block, kFprintTimeoutMs);
}

}  // namespace

bool hasEnrolledFinger(const std::string& user) {
    if (!QDBusConnection::systemBus().isConnected()) {
        return false;
    }
    QDBusMessage device = askFprint(QStringLiteral("/net/reactivated/Fprint/Manager"),
                                    QStringLiteral("net.reactivated.Fprint.Manager"),
                                    QStringLiteral("GetDefaultDevice"));
    if (device.type() != QDBusMessage::ReplyMessage || device.arguments().isEmpty()) {
        return false;
    }
    QString path = device.arguments().front().value<QDBusObjectPath>().path();
    if (path.isEmpty()) {
        return false;
    }
    QDBusMessage fingers =
        askFprint(path, QStringLiteral("net.reactivated.Fprint.Device"),
                  QStringLiteral("ListEnrolledFingers"), {QString::fromStdString(user)});
    return fingers.type() == QDBusMessage::ReplyMessage && !fingers.arguments().isEmpty() &&
           !fingers.arguments().front().toStringList().isEmpty();
}

}  // namespace nimbrel::x11
