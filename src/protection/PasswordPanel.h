#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Alerts.h"
#include "platform/Application.h"
#include "platform/Localizer.h"
#include "platform/Screens.h"

namespace nimbrel {

// The modal panels of the password flows, brought to the front on the screen chosen for notices.
class PasswordPanel {
  public:
    // The screen notices go to, when the user chose one; none leaves placement to the platform.
    using NoticeScreen = std::function<std::optional<Screen>()>;

    PasswordPanel(Alerts& alerts, Application& application, const Localizer& strings,
                  NoticeScreen noticeScreen)
        : alerts_(alerts),
          application_(application),
          strings_(strings),
          noticeScreen_(std::move(noticeScreen)) {}
    PasswordPanel(const PasswordPanel&) = delete;
    PasswordPanel& operator=(const PasswordPanel&) = delete;

    // Asks for the password, twice with `confirm`. The fields' texts in order when the user
    // pressed OK; none for any other ending.
    std::optional<std::vector<std::string>> passwordPanel(const std::string& title,
                                                          const std::string& message, bool confirm);
    // A message with only an OK button: a password refused or a lock-out.
    void inform(const std::string& title);

  private:
    AlertRequest request(std::string title, std::string message, std::vector<std::string> buttons);

    Alerts& alerts_;
    Application& application_;
    const Localizer& strings_;
    NoticeScreen noticeScreen_;
};

}  // namespace nimbrel
