#include "platform/sim/SimStatusBar.h"

#include <algorithm>

namespace nimbrel::sim {

// Holds its state where the bar can read it, and leaves the bar when the program drops it.
class SimStatusItem final : public StatusItem {
  public:
    explicit SimStatusItem(SimStatusBar& bar) : bar_(bar) { bar_.items_.push_back(&state_); }
    ~SimStatusItem() override { std::erase(bar_.items_, &state_); }
    SimStatusItem(const SimStatusItem&) = delete;
    SimStatusItem& operator=(const SimStatusItem&) = delete;

    bool setSymbol(const std::string& symbol, const std::string& description) override {
        if (bar_.symbolsMissing() || symbol.empty()) {
            return false;
        }
        state_.symbol = symbol;
        state_.description = description;
        return true;
    }
    void setTitle(const std::string& title) override { state_.title = title; }
    void setVisible(bool visible) override { state_.visible = visible; }
    void setMenu(MenuBuilder whenOpening) override { state_.menu = std::move(whenOpening); }

  private:
    SimStatusBar& bar_;
    SimStatusItemState state_;
};

std::unique_ptr<StatusItem> SimStatusBar::addSquareItem() {
    return std::make_unique<SimStatusItem>(*this);
}

std::optional<Menu> SimStatusBar::openMenu() const {
    const SimStatusItemState* state = item();
    if (state == nullptr || !state->menu) {
        return std::nullopt;
    }
    return state->menu();
}

}  // namespace nimbrel::sim
