#include <gtest/gtest.h>

#include "ProtectionFixture.h"

namespace nimbrel::test {
namespace {

using Status = AppPassword::Status;

TEST_F(ProtectionFixture, StatusMovesBetweenNoneSetAndMissing) {
    EXPECT_EQ(password().status(), Status::none);
    ASSERT_TRUE(password().set("tangerine sky"));
    EXPECT_EQ(password().status(), Status::set);
    EXPECT_TRUE(password().isSet());
    EXPECT_EQ(defaults.value(AppPassword::kFlagKey), Json(true));

    // Someone deleted the item outside the program: the flag tells it from never set.
    keychain.deleteItem(item());
    EXPECT_EQ(password().status(), Status::missing);
    EXPECT_FALSE(password().isSet());

    password().clear();
    EXPECT_EQ(password().status(), Status::none);
}

TEST_F(ProtectionFixture, ALockedOrRefusingKeychainReadsAsNoRecord) {
    ASSERT_TRUE(password().set("tangerine sky"));
    keychain.setLocked(true);
    EXPECT_EQ(password().status(), Status::missing);
    keychain.setLocked(false);
    keychain.setRefusing(true);
    EXPECT_EQ(password().check("tangerine sky", 0), AppPassword::Check::wrong());
    keychain.setRefusing(false);
    EXPECT_EQ(password().status(), Status::set);
    EXPECT_EQ(stored()->failures, 0);
}

TEST_F(ProtectionFixture, ClearRemovesTheItemAndEveryDefaultsKey) {
    ASSERT_TRUE(password().set("tangerine sky"));
    defaults.setData(AppPassword::kLegacySaltKey, "s");
    defaults.setData(AppPassword::kLegacyHashKey, "h");
    password().clear();
    EXPECT_TRUE(keychain.items().empty());
    EXPECT_FALSE(defaults.contains(AppPassword::kFlagKey));
    EXPECT_FALSE(defaults.contains(AppPassword::kLegacySaltKey));
    EXPECT_FALSE(defaults.contains(AppPassword::kLegacyHashKey));
}

TEST_F(ProtectionFixture, ClearThatTheKeychainRefusesChangesNothingAndSaysSo) {
    ASSERT_TRUE(password().set("tangerine sky"));
    keychain.setRefusing(true);
    EXPECT_FALSE(password().clear());
    keychain.setRefusing(false);
    EXPECT_EQ(password().status(), Status::set);
    EXPECT_TRUE(defaults.contains(AppPassword::kFlagKey));
    // A record that is already gone counts as cleared.
    keychain.deleteItem(item());
    EXPECT_TRUE(password().clear());
    EXPECT_EQ(password().status(), Status::none);
}

TEST_F(ProtectionFixture, EveryRecordGetsItsOwnSalt) {
    ASSERT_TRUE(password().set("tangerine sky"));
    auto first = *stored();
    ASSERT_TRUE(password().set("tangerine sky"));
    EXPECT_NE(stored()->salt, first.salt);
    EXPECT_NE(stored()->hash, first.hash);
}

// A salt that was never drawn or a hash that was never derived must not become the password.
struct FailureCase {
    const char* name;
    bool failRandom;
    bool failDerive;
};

class SetWithBrokenCrypto : public ProtectionFixture,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SetWithBrokenCrypto, StoresNothingAndReportsFailure) {
    crypto->failRandom = GetParam().failRandom;
    crypto->failDerive = GetParam().failDerive;
    EXPECT_FALSE(password().set("tangerine sky"));
    EXPECT_TRUE(keychain.items().empty());
    EXPECT_EQ(password().status(), AppPassword::Status::none);
}

TEST_P(SetWithBrokenCrypto, LeavesThePreviousPasswordInForce) {
    ASSERT_TRUE(password().set("tangerine sky"));
    auto before = *stored();
    crypto->failRandom = GetParam().failRandom;
    crypto->failDerive = GetParam().failDerive;
    EXPECT_FALSE(password().set("another sky 9"));
    EXPECT_EQ(*stored(), before);
}

INSTANTIATE_TEST_SUITE_P(Failures, SetWithBrokenCrypto,
                         ::testing::Values(FailureCase{"randomDraw", true, false},
                                           FailureCase{"derivation", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProtectionFixture, SetReportsAKeychainThatDidNotKeepTheRecord) {
    keychain.setRefusing(true);
    EXPECT_FALSE(password().set("tangerine sky"));
    keychain.setRefusing(false);
    EXPECT_EQ(password().status(), AppPassword::Status::none);
}

}  // namespace
}  // namespace nimbrel::test
