#pragma once

#include <memory>
#include <string>

#include "platform/DockMenu.h"
#include "platform/LoginItem.h"
#include "platform/StatusBar.h"
#include "platform/SystemSettings.h"

namespace nimbrel::x11 {

// Until the status item and its menus are drawn with the toolkit, the program on X has none: the
// icon is never shown, the menus are never asked for, and reopening the program opens its settings.
class NoStatusItem final : public StatusItem {
  public:
    bool setSymbol(const std::string&, const std::string&) override { return false; }
    void setTitle(const std::string&) override {}
    void setVisible(bool) override {}
    void setMenu(MenuBuilder) override {}
};

class NoStatusBar final : public StatusBar {
  public:
    std::unique_ptr<StatusItem> addSquareItem() override {
        return std::make_unique<NoStatusItem>();
    }
};

class NoDockMenu final : public DockMenu {
  public:
    void setMenu(MenuBuilder) override {}
};

// X has no login-item service of its own: registering is refused, which the program answers with
// the beep.
class NoLoginItem final : public LoginItem {
  public:
    LoginItemStatus status() override { return LoginItemStatus::notRegistered; }
    bool registerItem() override { return false; }
    bool unregisterItem() override { return false; }
};

// X grants every client access to every window, so there is no page to open.
class NoSystemSettings final : public SystemSettings {
  public:
    bool openAccessibilityPane() override { return false; }
};

}  // namespace nimbrel::x11
