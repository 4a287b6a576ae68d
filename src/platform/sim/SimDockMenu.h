#pragma once

#include <optional>

#include "platform/DockMenu.h"

namespace nimbrel::sim {

class SimDockMenu final : public DockMenu {
  public:
    void setMenu(MenuBuilder whenOpening) override { builder_ = std::move(whenOpening); }

    // ---- Control surface ----
    // Builds the menu as when the user opens it; none when the program gave no builder.
    std::optional<Menu> openMenu() const {
        if (!builder_) {
            return std::nullopt;
        }
        return builder_();
    }
    void forget() { builder_ = nullptr; }

  private:
    MenuBuilder builder_;
};

}  // namespace nimbrel::sim
