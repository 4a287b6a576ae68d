#pragma once

#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusVirtualObject>

#include <string>
#include <vector>

namespace nimbrel::test {

// A login manager of the tests' own: owns org.freedesktop.login1 on the bus it is given, with the
// manager and one session, answers what the program asks (its session, the session's lock hint, a
// delay lock) and sends the signals a test asks for. It keeps the far end of every delay lock it
// hands out, so a test sees when the program's last copy of the descriptor is closed.
class FakeLoginManager final : public QDBusVirtualObject {
  public:
    static constexpr const char* kSessionId = "c7";
    static constexpr const char* kSessionPath = "/org/freedesktop/login1/session/c7";

    explicit FakeLoginManager(QDBusConnection bus);
    ~FakeLoginManager() override;
    FakeLoginManager(const FakeLoginManager&) = delete;
    FakeLoginManager& operator=(const FakeLoginManager&) = delete;

    // Whether it owns the name and serves its objects.
    bool serves() const { return serves_; }

    void lock();
    void unlock();
    void setLockedHint(bool locked);
    void prepareForSleep(bool starting);
    void prepareForShutdown(bool starting);

    // The methods called on it, by name, in order.
    const std::vector<std::string>& calls() const { return calls_; }
    // Each Inhibit call's "what" and "mode", as "sleep:shutdown delay".
    const std::vector<std::string>& inhibits() const { return inhibits_; }
    // The delay locks handed out whose descriptor is still open somewhere.
    int inhibitorsHeld() const;

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    void send(const QDBusMessage& message);

    QDBusConnection bus_;
    bool serves_ = false;
    bool lockedHint_ = false;
    std::vector<std::string> calls_;
    std::vector<std::string> inhibits_;
    // The read end of each lock's pipe: it hangs up once every copy of the write end is closed.
    std::vector<int> farEnds_;
};

}  // namespace nimbrel::test
