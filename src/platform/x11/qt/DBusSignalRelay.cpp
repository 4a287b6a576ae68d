#include "platform/x11/qt/DBusSignalRelay.h"

namespace nimbrel::x11 {

DBusSignalRelay::DBusSignalRelay(std::function<void(const QDBusMessage&)> receive)
    : receive_(std::move(receive)) {}

bool DBusSignalRelay::listen(QDBusConnection& bus, const QString& service, const QString& path,
                             const QString& interface, const QString& name) {
    // A slot that takes only the message matches a signal of any arguments.
    return bus.connect(service, path, interface, name, this, SLOT(relay(QDBusMessage)));
}

void DBusSignalRelay::relay(const QDBusMessage& message) {
    receive_(message);
}

}  // namespace nimbrel::x11
