#include "platform/x11/qt/DelayInhibitor.h"

#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusPendingCallWatcher>
#include <QtDBus/QDBusPendingReply>

namespace nimbrel::x11 {

DelayInhibitor::DelayInhibitor(QDBusConnection bus, QString who, QString why,
                               std::function<void(const QString& error)> refused)
    : bus_(std::move(bus)),
      who_(std::move(who)),
      why_(std::move(why)),
      refused_(std::move(refused)) {}

DelayInhibitor::~DelayInhibitor() {
    // The answer that is still on its way closes its descriptor when the call goes.
    delete asking_;
}

void DelayInhibitor::take() {
    wanted_ = true;
    if (isHeld() || asking_ != nullptr || !bus_.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:shutdown") << who_ << why_ << QStringLiteral("delay");
    asking_ = new QDBusPendingCallWatcher(bus_.asyncCall(call));
    QObject::connect(asking_, &QDBusPendingCallWatcher::finished,
                     guard_.wrap([this](QDBusPendingCallWatcher* watcher) { answered(watcher); }));
}

void DelayInhibitor::answered(QDBusPendingCallWatcher* call) {
    asking_ = nullptr;
    QDBusPendingReply<QDBusUnixFileDescriptor> reply = *call;
    if (reply.isError()) {
        if (refused_) {
            refused_(reply.error().name());
        }
    } else if (wanted_) {
        held_ = reply.value();
    }
    // The call keeps a copy of the descriptor with its answer; it goes on the next turn, before
    // anything can ask for a release.
    call->deleteLater();
}

void DelayInhibitor::release() {
    wanted_ = false;
    held_ = QDBusUnixFileDescriptor();
}

}  // namespace nimbrel::x11
