#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace nimbrel {

// Lets a callback learn that its owner is gone. The owner holds the guard and hands out closures
// made by `wrap`, which capture the owner's `this` and run only while the guard lives. (A callback
// that must decide for itself can capture `token()` and test `alive(token)`.)
class LifetimeGuard {
  public:
    using Token = std::weak_ptr<const char>;

    LifetimeGuard() = default;
    LifetimeGuard(const LifetimeGuard&) = delete;
    LifetimeGuard& operator=(const LifetimeGuard&) = delete;

    Token token() const { return alive_; }
    static bool alive(const Token& token) { return !token.expired(); }

    // A closure that calls `fn` with its arguments while the owner lives. Once the owner is gone
    // it does nothing and answers the empty value of `fn`'s result (false, nullopt, nothing).
    template <typename Fn>
    [[nodiscard]] auto wrap(Fn fn) const {
        return [token = token(), fn = std::move(fn)](auto&&... args) {
            using Result = std::invoke_result_t<const Fn&, decltype(args)...>;
            if (alive(token)) {
                return fn(std::forward<decltype(args)>(args)...);
            }
            if constexpr (!std::is_void_v<Result>) {
                return Result{};
            }
        };
    }

    // As above, but once the owner is gone `whenGone` answers in its place, with the same
    // arguments: a request that carries a completion must still hear back.
    template <typename Fn, typename WhenGone>
    [[nodiscard]] auto wrap(Fn fn, WhenGone whenGone) const {
        return
            [token = token(), fn = std::move(fn), whenGone = std::move(whenGone)](auto&&... args) {
                if (alive(token)) {
                    return fn(std::forward<decltype(args)>(args)...);
                }
                return whenGone(std::forward<decltype(args)>(args)...);
            };
    }

  private:
    std::shared_ptr<const char> alive_ = std::make_shared<const char>('\0');
};

}  // namespace nimbrel
