#include "protection/PasswordPanel.h"

namespace nimbrel {

AlertRequest PasswordPanel::request(std::string title, std::string message,
                                    std::vector<std::string> buttons) {
    AlertRequest request;
    request.title = std::move(title);
    request.message = std::move(message);
    request.buttons = std::move(buttons);
    if (noticeScreen_) {
        request.screen = noticeScreen_();
    }
    return request;
}

std::optional<std::vector<std::string>> PasswordPanel::passwordPanel(const std::string& title,
                                                                     const std::string& message,
                                                                     bool confirm) {
    auto panel = request(title, message,
                         {strings_.text("common.ok"_key), strings_.text("common.cancel"_key)});
    panel.fields.push_back(AlertField{true, strings_.text("password.placeholder"_key), ""});
    if (confirm) {
        panel.fields.push_back(
            AlertField{true, strings_.text("password.placeholderConfirm"_key), ""});
    }
    // The program is an accessory application: without this the panel could open behind the
    // window the user is looking at.
    application_.activateIgnoringOtherApps();
    auto response = alerts_.runModal(panel);
    if (!response.button || *response.button != 0) {
        return std::nullopt;
    }
    return response.texts;
}

void PasswordPanel::inform(const std::string& title) {
    alerts_.runModal(request(title, "", {strings_.text("common.ok"_key)}));
}

}  // namespace nimbrel
