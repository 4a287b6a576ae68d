#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/LifetimeGuard.h"

namespace nimbrel {
namespace {

// An owner that hands out closures over itself, as the program's components do.
struct Owner {
    int calls = 0;
    LifetimeGuard guard;
};

TEST(LifetimeGuard, WrappedClosuresRunWhileTheOwnerLivesAndAnswerEmptyOnceItIsGone) {
    auto owner = std::make_unique<Owner>();
    Owner* self = owner.get();
    std::function<void()> touch = owner->guard.wrap([self] { ++self->calls; });
    std::function<bool(int)> isEven = owner->guard.wrap([self](int n) {
        ++self->calls;
        return n % 2 == 0;
    });
    std::function<std::optional<std::string>()> name =
        owner->guard.wrap([]() -> std::optional<std::string> { return "owner"; });

    touch();
    EXPECT_TRUE(isEven(4));
    EXPECT_EQ(name(), "owner");
    EXPECT_EQ(owner->calls, 2);

    owner.reset();
    touch();  // would write to freed memory if it ran
    EXPECT_FALSE(isEven(4));
    EXPECT_EQ(name(), std::nullopt);
}

TEST(LifetimeGuard, OnceTheOwnerIsGoneTheStandInGetsTheSameArguments) {
    auto owner = std::make_unique<Owner>();
    Owner* self = owner.get();
    // A request that carries a completion: the caller must hear back whether or not the owner
    // still exists.
    std::function<void(const std::string&, std::function<void(bool)>)> ask = owner->guard.wrap(
        [self](const std::string&, std::function<void(bool)> done) {
            ++self->calls;
            done(true);
        },
        [](const std::string&, std::function<void(bool)> done) { done(false); });

    std::optional<bool> answer;
    ask("reason", [&](bool granted) { answer = granted; });
    EXPECT_EQ(answer, true);

    owner.reset();
    answer.reset();
    ask("reason", [&](bool granted) { answer = granted; });
    EXPECT_EQ(answer, false);
}

}  // namespace
}  // namespace nimbrel
