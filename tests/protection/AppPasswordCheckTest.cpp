#include <limits>

#include <gtest/gtest.h>

#include "ProtectionFixture.h"

namespace nimbrel::test {
namespace {

using Check = AppPassword::Check;

constexpr const char* kRight = "correct horse 42";
constexpr const char* kWrong = "not the password";

class AppPasswordCheck : public ProtectionFixture {
  protected:
    void SetUp() override { ASSERT_TRUE(password().set(kRight)); }

    // Wrong entries at the current time, each one after any lock-out in force has ended.
    void wrongEntries(int count) {
        for (int i = 0; i < count; ++i) {
            if (auto until = password().lockedUntil(loop.now())) {
                loop.advance(*until - loop.now());
            }
            ASSERT_EQ(password().check(kWrong, loop.now()), Check::wrong());
        }
    }
};

TEST_F(ProtectionFixture, CheckWithoutARecordIsWrongAndStoresNothing) {
    EXPECT_EQ(password().check(kRight, 0), Check::wrong());
    EXPECT_TRUE(keychain.items().empty());
    EXPECT_FALSE(defaults.contains(AppPassword::kFlagKey));
}

TEST_F(AppPasswordCheck, TheRightEntryIsOkAndTheRecordUsesTheCurrentScheme) {
    EXPECT_EQ(password().check(kRight, 0), Check::ok());
    auto record = stored();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->salt.size(), AppPassword::kSaltLength);
    EXPECT_EQ(record->hash.size(), AppPassword::kHashLength);
    EXPECT_EQ(record->rounds, AppPassword::kCurrentRounds);
    EXPECT_EQ(password().status(), AppPassword::Status::set);
}

TEST_F(AppPasswordCheck, EntriesAreComparedExactlyAsTyped) {
    EXPECT_EQ(password().check("Correct horse 42", 0), Check::wrong());
    EXPECT_EQ(password().check("correct horse 42 ", 0), Check::wrong());
    EXPECT_EQ(password().check("", 0), Check::wrong());
}

TEST_F(AppPasswordCheck, FifthWrongEntryLocksThirtySecondsAndEvenTheRightEntryWaits) {
    wrongEntries(4);
    EXPECT_EQ(password().lockedUntil(loop.now()), std::nullopt);
    EXPECT_FALSE(stored()->lockedUntil);
    wrongEntries(1);
    EXPECT_EQ(stored()->failures, 5);
    EXPECT_EQ(password().lockedUntil(loop.now()), 30.0);

    loop.advance(29);
    EXPECT_EQ(password().check(kRight, loop.now()), Check::lockedOut(30));
    EXPECT_EQ(stored()->failures, 5);
}

TEST_F(AppPasswordCheck, AfterTheLockOutTheSixthWrongEntryLocksSixtySeconds) {
    wrongEntries(5);
    loop.advance(30);
    EXPECT_EQ(password().lockedUntil(loop.now()), std::nullopt);
    EXPECT_EQ(password().check(kWrong, loop.now()), Check::wrong());
    EXPECT_EQ(stored()->failures, 6);
    EXPECT_EQ(password().lockedUntil(loop.now()), loop.now() + 60);
}

TEST_F(AppPasswordCheck, TheRightEntryAfterTheLockOutResetsTheCount) {
    wrongEntries(5);
    loop.advance(30);
    EXPECT_EQ(password().check(kRight, loop.now()), Check::ok());
    EXPECT_EQ(stored()->failures, 0);
    EXPECT_FALSE(stored()->lockedUntil);
    wrongEntries(4);
    EXPECT_EQ(password().lockedUntil(loop.now()), std::nullopt);
}

TEST_F(AppPasswordCheck, TwentyWrongEntriesLockForAnHourAtMost) {
    wrongEntries(20);
    EXPECT_EQ(stored()->failures, 20);
    EXPECT_EQ(password().lockedUntil(loop.now()), loop.now() + 3600);
}

TEST_F(AppPasswordCheck, ALockOutFurtherAheadThanAnHourIsBroughtBack) {
    auto record = *stored();
    record.failures = 7;
    record.lockedUntil = 3 * 3600;
    store(record);
    EXPECT_EQ(password().lockedUntil(0), 3600.0);
    EXPECT_EQ(stored()->lockedUntil, 3 * 3600.0) << "reading the lock-out stores nothing";

    EXPECT_EQ(password().check(kRight, 0), Check::lockedOut(3600));
    EXPECT_EQ(stored()->lockedUntil, 3600.0);
    EXPECT_EQ(stored()->failures, 7);
}

TEST_F(AppPasswordCheck, AFailedDerivationIsNotCountedAgainstTheUser) {
    crypto->failDerive = true;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(password().check(kRight, loop.now()), Check::wrong());
    }
    crypto->failDerive = false;
    EXPECT_EQ(stored()->failures, 0);
    EXPECT_EQ(password().lockedUntil(loop.now()), std::nullopt);
    EXPECT_EQ(password().check(kRight, loop.now()), Check::ok());
}

// Rounds no version writes make the item unreadable: the password counts as missing (so Touch ID
// or the owner's authentication stands in for it and a new one can be set) instead of refusing
// every entry for good or blocking the main loop for minutes. The item itself stays as it was.
TEST_F(AppPasswordCheck, ARecordWithUnusableRoundsIsNoRecord) {
    const std::string good = keychain.find(item())->data;
    for (std::int64_t rounds : {std::int64_t(0), std::int64_t(-1), std::int64_t(1) << 40}) {
        Json planted = Json::parse(good);
        planted["rounds"] = rounds;
        keychain.overwriteData(item(), planted.dump());
        EXPECT_EQ(password().status(), AppPassword::Status::missing) << rounds;
        EXPECT_EQ(password().check(kRight, 0), Check::wrong()) << rounds;
        EXPECT_EQ(keychain.find(item())->data, planted.dump()) << rounds;
    }
    keychain.overwriteData(item(), good);
    EXPECT_EQ(password().check(kRight, 0), Check::ok());
}

TEST_F(AppPasswordCheck, AnUndecodableItemIsNoRecord) {
    keychain.overwriteData(item(), R"({"salt":"AAAA","rounds":1})");
    EXPECT_EQ(password().status(), AppPassword::Status::missing);
    EXPECT_EQ(password().check(kRight, 0), Check::wrong());
    EXPECT_EQ(keychain.find(item())->data, R"({"salt":"AAAA","rounds":1})");
}

struct DurationCase {
    const char* name;
    std::int64_t failures;
    std::optional<double> seconds;
};

class LockoutDuration : public ::testing::TestWithParam<DurationCase> {};

TEST_P(LockoutDuration, FollowsTheSchedule) {
    EXPECT_EQ(AppPassword::lockoutDuration(GetParam().failures), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Schedule, LockoutDuration,
    ::testing::Values(DurationCase{"negative", -3, std::nullopt},
                      DurationCase{"none", 0, std::nullopt}, DurationCase{"four", 4, std::nullopt},
                      DurationCase{"five", 5, 30}, DurationCase{"six", 6, 60},
                      DurationCase{"seven", 7, 120}, DurationCase{"eleven", 11, 1920},
                      DurationCase{"twelve", 12, 3600}, DurationCase{"fifteen", 15, 3600},
                      DurationCase{"huge", std::numeric_limits<std::int64_t>::max(), 3600}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppPasswordCheck, ACountAtItsLimitStaysThere) {
    auto record = *stored();
    record.failures = std::numeric_limits<std::int64_t>::max();
    store(record);
    EXPECT_EQ(password().check(kWrong, 0), Check::wrong());
    EXPECT_EQ(stored()->failures, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(password().lockedUntil(0), 3600.0);
}

}  // namespace
}  // namespace nimbrel::test
