#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/StatusBar.h"

namespace nimbrel::sim {

// What the bar shows of one of the program's status items.
struct SimStatusItemState {
    std::string symbol;
    std::string description;
    std::string title;
    bool visible = true;
    MenuBuilder menu;
};

// The simulated status bar: it draws nothing, but remembers what each item would show so that a
// script can open its menu as the user would.
class SimStatusBar final : public StatusBar {
  public:
    SimStatusBar() = default;
    SimStatusBar(const SimStatusBar&) = delete;
    SimStatusBar& operator=(const SimStatusBar&) = delete;

    std::unique_ptr<StatusItem> addSquareItem() override;

    // ---- Control surface ----
    // The desktop has no symbol set: every symbol fails to load, so the item shows its title.
    void setSymbolsMissing(bool missing) { symbolsMissing_ = missing; }
    bool symbolsMissing() const { return symbolsMissing_; }
    // The most recently added item that is still in the bar; null when there is none.
    const SimStatusItemState* item() const { return items_.empty() ? nullptr : items_.back(); }
    // Builds the item's menu as when the user opens it; none without an item or a menu.
    std::optional<Menu> openMenu() const;

  private:
    friend class SimStatusItem;
    std::vector<SimStatusItemState*> items_;
    bool symbolsMissing_ = false;
};

}  // namespace nimbrel::sim
