#pragma once

#include <QtCore/QObject>

#include <cstdint>
#include <map>

#include "platform/KeyEventMonitor.h"

namespace nimbrel::x11 {

// Key presses of the program's own windows, seen by an application-wide event filter before the
// window they are addressed to. The newest handler is asked first.
class QtKeyEventMonitor final : public KeyEventMonitor, private QObject {
  public:
    QtKeyEventMonitor();
    ~QtKeyEventMonitor() override;

    Subscription addLocalKeyDownMonitor(Handler handler) override;

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;

    std::map<std::uint64_t, Handler> handlers_;
    std::uint64_t nextId_ = 1;
};

}  // namespace nimbrel::x11
