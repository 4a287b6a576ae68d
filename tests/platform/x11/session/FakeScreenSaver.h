#pragma once

#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusVirtualObject>

namespace nimbrel::test {

// A screen saver of the tests' own under one of the names desktops use (the freedesktop one, or
// a desktop's such as org.gnome.ScreenSaver), at /org/<...>/ScreenSaver: answers GetActive and
// sends ActiveChanged when a test changes it.
class FakeScreenSaver final : public QDBusVirtualObject {
  public:
    // `name` is the service and the interface, as the desktops keep them.
    FakeScreenSaver(QDBusConnection bus, QString name);
    ~FakeScreenSaver() override;
    FakeScreenSaver(const FakeScreenSaver&) = delete;
    FakeScreenSaver& operator=(const FakeScreenSaver&) = delete;

    bool serves() const { return serves_; }
    void setActive(bool active);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    QDBusConnection bus_;
    QString name_;
    QString path_;
    bool serves_ = false;
    bool active_ = false;
};

}  // namespace nimbrel::test
