#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/Subscription.h"

namespace nimbrel {

// A value that announces itself: a subscriber receives the current value at once and then every
// change. Only the owner sets it (the owner hands out const references). A subscription may end
// before or after the value; observers may subscribe or unsubscribe while being told.
template <typename T>
class Published {
  public:
    using Observer = std::function<void(const T&)>;

    explicit Published(T initial = T{}) : state_(std::make_shared<State>(std::move(initial))) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    const T& get() const { return state_->value; }

    Subscription subscribe(Observer observer) const {
        std::uint64_t id = state_->next++;
        state_->observers.emplace(id, observer);
        observer(state_->value);
        std::weak_ptr<State> weak = state_;
        return Subscription([weak, id] {
            if (auto state = weak.lock()) {
                state->observers.erase(id);
            }
        });
    }

    // Announces only a real change.
    void set(T value) {
        if (value == state_->value) {
            return;
        }
        state_->value = std::move(value);
        announce();
    }

  private:
    struct State {
        explicit State(T v) : value(std::move(v)) {}
        T value;
        std::map<std::uint64_t, Observer> observers;
        std::uint64_t next = 1;
    };

    void announce() {
        auto state = state_;
        T value = state->value;
        std::vector<std::uint64_t> ids;
        for (const auto& entry : state->observers) {
            ids.push_back(entry.first);
        }
        for (auto id : ids) {
            auto it = state->observers.find(id);
            if (it == state->observers.end()) {
                continue;
            }
            Observer observer = it->second;
            observer(value);
        }
    }

    std::shared_ptr<State> state_;
};

}  // namespace nimbrel
