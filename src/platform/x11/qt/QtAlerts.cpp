#include "platform/x11/qt/QtAlerts.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/x11/qt/QtActivation.h"
#include "platform/x11/qt/QtTextMetrics.h"

namespace nimbrel::x11 {
namespace {

// How far above the visible frame's middle an alert's centre sits, as a share of its height.
constexpr double kAboveMiddle = 0.1;
constexpr int kFieldWidth = 240;
constexpr int kFieldHeight = 24;
constexpr int kFieldSpacing = 8;
constexpr int kTextWidth = 320;

Rect centredAbove(Size alert, const Rect& visible) {
    double x = visible.midX() - alert.width * 0.5;
    double y = visible.midY() + visible.height * kAboveMiddle - alert.height * 0.5;
    // A tall alert keeps its top, with the title, on the screen.
    y = std::min(y, visible.maxY() - alert.height);
    return Rect(x, y, alert.width, alert.height);
}

QString qText(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::optional<Rect> QtAlerts::placement(Size alert, const std::optional<Screen>& main,
                                        const std::optional<Screen>& requested) {
    std::optional<Rect> placed;
    if (main) {
        placed = centredAbove(alert, main->visibleFrame);
    }
    if (requested && (!placed || !requested->frame.containsInScreenSpace(
                                     Point{placed->midX(), placed->midY()}))) {
        placed = centredAbove(alert, requested->visibleFrame);
    }
    return placed;
}

AlertResponse QtAlerts::runModal(const AlertRequest& request) {
    AlertResponse response;
    for (const auto& field : request.fields) {
        response.texts.push_back(field.text);
    }
    if (QApplication::instance() == nullptr) {
        return response;
    }

    QDialog dialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    dialog.setModal(true);
    // The program lives on without windows; an answered alert must not end it.
    dialog.setAttribute(Qt::WA_QuitOnClose, false);
    dialog.setWindowTitle(qText(request.title));

    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(10);

    auto* title = new QLabel(qText(request.title));
    title->setFont(QtTextMetrics::font(FontStyle::headline));
    title->setWordWrap(true);
    title->setMaximumWidth(kTextWidth);
    layout->addWidget(title);
    if (!request.message.empty()) {
        auto* message = new QLabel(qText(request.message));
        message->setFont(QtTextMetrics::font(FontStyle::callout));
        message->setWordWrap(true);
        message->setMaximumWidth(kTextWidth);
        layout->addWidget(message);
    }

    std::vector<QLineEdit*> fields;
    if (!request.fields.empty()) {
        auto* column = new QVBoxLayout();
        column->setSpacing(kFieldSpacing);
        for (const auto& field : request.fields) {
            auto* edit = new QLineEdit(qText(field.text));
            edit->setPlaceholderText(qText(field.placeholder));
            edit->setFixedSize(kFieldWidth, kFieldHeight);
            if (field.secure) {
                // Qt shows dots and refuses to copy, cut or drag the text of a password field.
                edit->setEchoMode(QLineEdit::Password);
                edit->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                          Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
            }
            column->addWidget(edit);
            fields.push_back(edit);
        }
        layout->addLayout(column);
    }

    auto* row = new QHBoxLayout();
    row->addStretch(1);
    QPushButton* defaultButton = nullptr;
    // The default button on the right, the others to its left in turn.
    for (std::size_t i = request.buttons.size(); i-- > 0;) {
        auto* button = new QPushButton(qText(request.buttons[i]));
        button->setDefault(i == 0);
        button->setAutoDefault(i == 0);
        const int code = static_cast<int>(i) + 1;  // 0 is a rejected dialog
        QObject::connect(button, &QPushButton::clicked, &dialog,
                         [&dialog, code] { dialog.done(code); });
        row->addWidget(button);
        if (i == 0) {
            defaultButton = button;
        }
    }
    layout->addLayout(row);
    if (!fields.empty()) {
        fields.front()->setFocus(Qt::OtherFocusReason);
    } else if (defaultButton != nullptr) {
        // Otherwise the leftmost button, first in the tab order, would start with the focus.
        defaultButton->setFocus(Qt::OtherFocusReason);
    }

    dialog.adjustSize();
    if (auto placed = placement(Size{double(dialog.width()), double(dialog.height())},
                                screens_.mainScreen(), request.screen)) {
        Rect root = screens_.layout().fromScreenSpace(*placed);
        dialog.move(static_cast<int>(root.x), static_cast<int>(root.y));
    }
    QTimer::singleShot(0, &dialog, [&dialog] { askToActivate(dialog); });

    loop_.hold();
    int result = dialog.exec();
    loop_.release();

    if (result >= 1 && static_cast<std::size_t>(result) <= request.buttons.size()) {
        response.button = static_cast<std::size_t>(result - 1);
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        response.texts[i] = fields[i]->text().toStdString();
    }
    return response;
}

}  // namespace nimbrel::x11
