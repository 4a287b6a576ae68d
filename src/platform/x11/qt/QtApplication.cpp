#include "platform/x11/qt/QtApplication.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

namespace nimbrel::x11 {

void QtApplication::activateIgnoringOtherApps() {
    QWidget* front = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        // Panels never take the focus; only the program's ordinary windows are brought forward.
        if (widget->isVisible() && !widget->testAttribute(Qt::WA_ShowWithoutActivating)) {
            widget->raise();
            front = widget;
        }
    }
    if (front != nullptr) {
        front->activateWindow();
    }
}

}  // namespace nimbrel::x11
