#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ShellFixture.h"
#include "app/AttemptsLog.h"
#include "app/MenuActions.h"
#include "app/StatusMenu.h"

namespace nimbrel::test {

// The menus over the shell fixture's components, wired as the delegate wires them; texts are keys.
class MenuFixture : public ShellFixture {
  protected:
    MenuFixture() { rebuild(); }

    // A new attempts log (read from the defaults again) and new menus, with the providers as set.
    void rebuild() {
        menu_.reset();
        actions_.reset();
        attempts_ = std::make_unique<AttemptsLog>(desk_.defaults());
        MenuServices services{*store_,
                              *engine_,
                              *lookup_,
                              *shortcuts_,
                              *triggers_,
                              *attempts_,
                              desk_.accessibility(),
                              desk_.workspace(),
                              desk_.keyboardLayout(),
                              desk_.loginItem(),
                              desk_.systemSettings(),
                              desk_.sound(),
                              desk_.loop(),
                              strings_};
        services.openSettings = [this] { ++settingsOpened_; };
        services.authenticate = [this](const std::string&, std::function<void(bool)> reply) {
            answer(std::move(reply));
        };
        services.regionCoversOnScreen = [this] { return regionCovers_; };
        services.canCheckForUpdates = [this] { return canCheck_; };
        services.checkForUpdates = [this] { ++updateChecks_; };
        actions_ = std::make_unique<MenuActions>(services);
        menu_ = std::make_unique<StatusMenu>(services, *actions_);
    }

    static std::vector<std::string> titles(const Menu& menu) {
        std::vector<std::string> result;
        for (const auto& item : menu.items) {
            result.push_back(item.kind == MenuItem::Kind::separator ? "---" : item.title);
        }
        return result;
    }
    // The first item whose title begins with `prefix`.
    static std::optional<MenuItem> find(const Menu& menu, const std::string& prefix) {
        for (const auto& item : menu.items) {
            if (item.kind == MenuItem::Kind::item && item.title.rfind(prefix, 0) == 0) {
                return item;
            }
        }
        return std::nullopt;
    }
    std::optional<MenuItem> statusItem(const std::string& prefix) {
        return find(menu_->buildStatusMenu(), prefix);
    }

    std::unique_ptr<AttemptsLog> attempts_;
    std::unique_ptr<MenuActions> actions_;
    std::unique_ptr<StatusMenu> menu_;
    int settingsOpened_ = 0;
    int updateChecks_ = 0;
    std::size_t regionCovers_ = 0;
    bool canCheck_ = false;
};

}  // namespace nimbrel::test
