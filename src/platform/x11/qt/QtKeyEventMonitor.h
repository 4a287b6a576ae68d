#pragma once

#include <QtCore/QObject>
#include <QtWidgets/QWidget>

#include <cstdint>
#include <map>

#include "platform/KeyEventMonitor.h"
#include "platform/x11/qt/QtMainLoop.h"

namespace nimbrel::x11 {

// Key presses of the program's own windows, seen by an application-wide event filter before the
// window they are addressed to. The newest handler is asked first. While the loop is held (a
// modal alert is up) the keys are the alert's, and the program's handlers do not run.
class QtKeyEventMonitor final : public KeyEventMonitor, private QObject {
  public:
    // Marks a window whose keys are its own, never the program's handlers' (a dialog that asks
    // for the account's password).
    static void keepKeysOf(QWidget& window);

    explicit QtKeyEventMonitor(const QtMainLoop& loop);
    ~QtKeyEventMonitor() override;

    Subscription addLocalKeyDownMonitor(Handler handler) override;

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;

    const QtMainLoop& loop_;
    std::map<std::uint64_t, Handler> handlers_;
    std::uint64_t nextId_ = 1;
};

}  // namespace nimbrel::x11
