#pragma once

#include <memory>

namespace nimbrel {

// Lets a callback learn that its owner is gone. The owner holds the guard; a callback captures
// `token()` with the owner's `this` and runs only while `alive(token)` holds.
class LifetimeGuard {
  public:
    using Token = std::weak_ptr<const char>;

    LifetimeGuard() = default;
    LifetimeGuard(const LifetimeGuard&) = delete;
    LifetimeGuard& operator=(const LifetimeGuard&) = delete;

    Token token() const { return alive_; }
    static bool alive(const Token& token) { return !token.expired(); }

  private:
    std::shared_ptr<const char> alive_ = std::make_shared<const char>('\0');
};

}  // namespace nimbrel
