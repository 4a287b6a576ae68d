#pragma once

#include <functional>
#include <utility>

namespace nimbrel {

// Keeps a registration with the platform alive; dropping it ends the registration, so a callback
// can never outlive the object that holds its subscription. The platform must outlive every
// subscription.
class Subscription {
  public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { cancel(); }

    void cancel() {
        if (auto c = std::exchange(cancel_, nullptr)) {
            c();
        }
    }
    bool isActive() const { return static_cast<bool>(cancel_); }

  private:
    std::function<void()> cancel_;
};

}  // namespace nimbrel
