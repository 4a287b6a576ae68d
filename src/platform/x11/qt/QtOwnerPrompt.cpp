#include "platform/x11/qt/QtOwnerPrompt.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QDialog>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include <cstdlib>
#include <set>

#include "platform/x11/qt/QtActivation.h"
#include "platform/x11/qt/QtAlerts.h"
#include "platform/x11/qt/QtTextMetrics.h"

namespace nimbrel::x11 {
namespace {

constexpr int kOwnerTextWidth = 340;
constexpr int kOwnerFieldHeight = 26;
// What the dialog's exec codes mean; 0 is a rejected dialog (Cancel, Escape, the close button).
constexpr int kOwnerAccepted = 1;
constexpr int kOwnerFallback = 2;

QString ownerText(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* ownerLabel(const std::string& text, FontStyle style) {
    auto* label = new QLabel(ownerText(text));
    label->setFont(QtTextMetrics::font(style));
    label->setWordWrap(true);
    label->setFixedWidth(kOwnerTextWidth);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The dialog comes up while the user still holds the shortcut that asked for it. The program
// asks for detectable auto-repeat, so a held key repeats as presses without releases, and once
// the modifiers are let go those presses are text: a held "E" would type itself into the field.
// So the field ignores a key that is down when the dialog opens, and any press of a key already
// down, until that key is released. No one types a password by holding a key.
class OwnerFieldHeldKeys final : public QObject {
  public:
    explicit OwnerFieldHeldKeys(QObject* parent) : QObject(parent), down_(keysDownNow()) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            auto* key = static_cast<QKeyEvent*>(event);
            quint32 code = key->nativeScanCode();
            if (event->type() == QEvent::KeyRelease) {
                down_.erase(code);
            } else if (key->isAutoRepeat() || !down_.insert(code).second) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    static std::set<quint32> keysDownNow() {
        std::set<quint32> down;
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (x11 == nullptr || x11->connection() == nullptr) {
            return down;
        }
        xcb_connection_t* c = x11->connection();
        xcb_query_keymap_reply_t* keymap = xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr);
        if (keymap == nullptr) {
            return down;
        }
        for (quint32 code = 0; code < 256; ++code) {
            if ((keymap->keys[code / 8] >> (code % 8)) & 1) {
                down.insert(code);
            }
        }
        std::free(keymap);
        return down;
    }

    std::set<quint32> down_;
};

}  // namespace

void QtOwnerPrompt::DeleteLater::operator()(QDialog* dialog) const {
    // The prompt may go from within the dialog's own signal.
    dialog->deleteLater();
}

QtOwnerPrompt::QtOwnerPrompt(const Texts& texts, X11Screens& screens, OnAnswer onAnswer)
    : dialog_(new QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                                       Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)),
      onAnswer_(std::move(onAnswer)) {
    QDialog& dialog = *dialog_;
    dialog.setWindowModality(Qt::ApplicationModal);
    // The program lives on without windows; an answered dialog must not end it.
    dialog.setAttribute(Qt::WA_QuitOnClose, false);
    dialog.setWindowTitle(ownerText(texts.windowTitle));

    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(10);
    layout->addWidget(ownerLabel(texts.title, FontStyle::headline));
    layout->addWidget(ownerLabel(texts.message, FontStyle::callout));

    field_ = new QLineEdit();
    field_->setPlaceholderText(ownerText(texts.placeholder));
    // Dots for the characters; Qt refuses to copy, cut or drag the text of a password field.
    field_->setEchoMode(QLineEdit::Password);
    field_->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText |
                                Qt::ImhNoAutoUppercase);
    field_->setContextMenuPolicy(Qt::NoContextMenu);
    field_->setFixedSize(kOwnerTextWidth, kOwnerFieldHeight);
    field_->installEventFilter(new OwnerFieldHeldKeys(field_));
    layout->addSpacing(4);
    layout->addWidget(field_);
    layout->addSpacing(6);

    auto* row = new QHBoxLayout();
    if (!texts.fallback.empty()) {
        auto* fallback = new QPushButton(ownerText(texts.fallback));
        fallback->setAutoDefault(false);
        QObject::connect(fallback, &QPushButton::clicked, &dialog,
                         [&dialog] { dialog.done(kOwnerFallback); });
        row->addWidget(fallback);
    }
    row->addStretch(1);
    auto* cancel = new QPushButton(ownerText(texts.cancel));
    cancel->setAutoDefault(false);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    row->addWidget(cancel);
    auto* ok = new QPushButton(ownerText(texts.ok));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog,
                     [&dialog] { dialog.done(kOwnerAccepted); });
    row->addWidget(ok);
    layout->addLayout(row);

    QObject::connect(&dialog, &QDialog::finished, &dialog, [this](int result) {
        finish(result == kOwnerAccepted   ? Answer::password
               : result == kOwnerFallback ? Answer::fallback
                                          : Answer::cancel);
    });

    dialog.adjustSize();
    if (auto placed = QtAlerts::placement(Size{double(dialog.width()), double(dialog.height())},
                                          screens.mainScreen(), std::nullopt)) {
        Rect root = screens.layout().fromScreenSpace(*placed);
        dialog.move(static_cast<int>(root.x), static_cast<int>(root.y));
    }
    field_->setFocus(Qt::OtherFocusReason);
    dialog.show();
    QTimer::singleShot(0, &dialog, [&dialog] { askToActivate(dialog); });
}

QtOwnerPrompt::~QtOwnerPrompt() {
    onAnswer_ = nullptr;
    QObject::disconnect(dialog_.get(), &QDialog::finished, nullptr, nullptr);
    takeText(*field_).wipe();
    dialog_->hide();
}

void QtOwnerPrompt::finish(Answer answer) {
    SecretBytes password = takeText(*field_);
    if (answer != Answer::password) {
        password.wipe();
    }
    auto onAnswer = std::exchange(onAnswer_, nullptr);
    if (onAnswer) {
        // Last: the answer may destroy this prompt.
        onAnswer(answer, std::move(password));
    }
}

SecretBytes QtOwnerPrompt::takeText(QLineEdit& field) {
    // Shares the field's own buffer, which is overwritten through it below.
    QString text = field.text();
    QByteArray utf8 = text.toUtf8();
    SecretBytes bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    SecretBytes::overwrite(utf8.data(), static_cast<std::size_t>(utf8.size()));
    // Writing through the shared buffer, not detaching a copy to overwrite. Text the field
    // never allocated (a literal set from code) may sit in read-only memory and holds no secret.
    if (text.data_ptr().isMutable()) {
        SecretBytes::overwrite(const_cast<QChar*>(text.constData()),
                               static_cast<std::size_t>(text.size()) * sizeof(QChar));
    }
    // setText, unlike clear, also forgets the undo history, which holds every typed character.
    field.setText(QString());
    return bytes;
}

}  // namespace nimbrel::x11
