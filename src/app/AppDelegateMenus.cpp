#include "app/AppDelegate.h"

namespace nimbrel {

MenuServices AppDelegate::menuServices() {
    MenuServices services{*store_,
                          *minimizer_,
                          *bindingLookup_,
                          *shortcuts_,
                          *triggers_,
                          *attempts_,
                          platform_.accessibility,
                          platform_.workspace,
                          platform_.keyboardLayout,
                          platform_.loginItem,
                          platform_.systemSettings,
                          platform_.sound,
                          platform_.loop,
                          platform_.strings};
    services.openSettings = guard_.wrap([this] { openSettings(); });
    services.authenticate = weakAuthenticate();
    return services;
}

void AppDelegate::installMenus() {
    statusItem_ = platform_.statusBar.addSquareItem();
    if (!statusItem_->setSymbol("dock.arrow.down.rectangle",
                                platform_.strings.text("menu.statusItem.accessibility"_key))) {
        statusItem_->setTitle("\u2B07\uFE0E");
    }
    statusItem_->setMenu(guard_.wrap([this] { return statusMenu_->buildStatusMenu(); }));
    iconSubscription_ = store_->hideMenuBarIcon().subscribe(
        guard_.wrap([this](bool hidden) { statusItem_->setVisible(!hidden); }));
    platform_.dockMenu.setMenu(guard_.wrap([this] { return statusMenu_->buildDockMenu(); }));
}

}  // namespace nimbrel
