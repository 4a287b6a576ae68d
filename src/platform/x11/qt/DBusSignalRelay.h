#pragma once

#include <QtCore/QObject>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>

#include <functional>

namespace nimbrel::x11 {

// Hands the D-Bus signals it listens to, each as its whole message, to one function. Qt delivers a
// bus signal only to a slot its meta-object knows, so this is the one class of the platform that
// needs the meta-object compiler; everything else reads the messages as plain values. The bus
// forgets the relay's matches when it is destroyed.
class DBusSignalRelay final : public QObject {
    Q_OBJECT

  public:
    explicit DBusSignalRelay(std::function<void(const QDBusMessage&)> receive);

    // Whether the bus took the match; a service that is not there yet still counts, its signals
    // arrive once it comes.
    bool listen(QDBusConnection& bus, const QString& service, const QString& path,
                const QString& interface, const QString& name);

  public Q_SLOTS:
    void relay(const QDBusMessage& message);

  private:
    std::function<void(const QDBusMessage&)> receive_;
};

}  // namespace nimbrel::x11
