#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/x11/SecretBytes.h"
#include "platform/x11/X11Screens.h"

class QDialog;
class QLineEdit;

namespace nimbrel::x11 {

// The program's own dialog for the account's password, where a desktop has no system sheet the
// program could use: what the program wants to do, whose password it needs, a field that shows no
// characters, Cancel and OK, and a fallback button when the request names one. It does not block:
// the program's loop runs on while the dialog is up.
class QtOwnerPrompt {
  public:
    enum class Answer { password, cancel, fallback };
    struct Texts {
        std::string windowTitle;
        std::string title;
        std::string message;
        std::string placeholder;
        std::string ok;
        std::string cancel;
        std::string fallback;  // empty: no fallback button
    };
    // Runs once when the dialog closes, with the typed password for `password` and empty bytes
    // otherwise. It may destroy the prompt.
    using OnAnswer = std::function<void(Answer answer, SecretBytes password)>;

    // Shows the dialog centred on the main screen, a little above its middle.
    QtOwnerPrompt(const Texts& texts, X11Screens& screens, OnAnswer onAnswer);
    // Closes a dialog that is still up, without an answer.
    ~QtOwnerPrompt();
    QtOwnerPrompt(const QtOwnerPrompt&) = delete;
    QtOwnerPrompt& operator=(const QtOwnerPrompt&) = delete;

    QDialog& dialog() { return *dialog_; }

    // Takes the field's text out as bytes and overwrites every buffer of the text on the way, the
    // field's own included, then empties the field and its undo history.
    static SecretBytes takeText(QLineEdit& field);

  private:
    void finish(Answer answer);

    struct DeleteLater {
        void operator()(QDialog* dialog) const;
    };
    std::unique_ptr<QDialog, DeleteLater> dialog_;
    QLineEdit* field_ = nullptr;
    OnAnswer onAnswer_;
};

}  // namespace nimbrel::x11
