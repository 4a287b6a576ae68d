#include "FakeScreenSaver.h"

#include <QtDBus/QDBusMessage>

namespace nimbrel::test {

FakeScreenSaver::FakeScreenSaver(QDBusConnection bus, QString name)
    : bus_(std::move(bus)), name_(std::move(name)) {
    // org.gnome.ScreenSaver lives at /org/gnome/ScreenSaver.
    path_ = QLatin1Char('/') + QString(name_).replace(QLatin1Char('.'), QLatin1Char('/'));
    serves_ = bus_.registerVirtualObject(path_, this) && bus_.registerService(name_);
}

FakeScreenSaver::~FakeScreenSaver() {
    bus_.unregisterService(name_);
    bus_.unregisterObject(path_);
}

void FakeScreenSaver::setActive(bool active) {
    active_ = active;
    QDBusMessage signal = QDBusMessage::createSignal(path_, name_, QStringLiteral("ActiveChanged"));
    signal << active;
    bus_.send(signal);
}

QString FakeScreenSaver::introspect(const QString&) const {
    return {};
}

bool FakeScreenSaver::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
    if (message.member() == QLatin1String("GetActive")) {
        bus_.send(message.createReply(active_));
    } else {
        bus_.send(message.createErrorReply(
            QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), message.member()));
    }
    return true;
}

}  // namespace nimbrel::test
