#include <gtest/gtest.h>

#include "ProtectionFixture.h"

namespace nimbrel::test {
namespace {

constexpr const char* kLegacyPassword = "old faithful 7";

// Salt and hash as the legacy scheme kept them in defaults: 200000 rounds of the same PBKDF2.
class LegacyMigration : public ProtectionFixture {
  protected:
    void SetUp() override {
        legacySalt = Bytes(16, 0x5a);
        legacyHash = Bytes(32, 0);
        ASSERT_TRUE(
            crypto->deriveKey(kLegacyPassword, legacySalt, AppPassword::kLegacyRounds, legacyHash));
        defaults.setData(AppPassword::kLegacySaltKey,
                         std::string(legacySalt.begin(), legacySalt.end()));
        defaults.setData(AppPassword::kLegacyHashKey,
                         std::string(legacyHash.begin(), legacyHash.end()));
    }
    Bytes legacySalt;
    Bytes legacyHash;
};

TEST_F(LegacyMigration, FirstStatusMovesTheLegacyValuesIntoTheKeychain) {
    EXPECT_EQ(password().status(), AppPassword::Status::set);
    auto record = stored();
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, (PasswordRecord{legacySalt, legacyHash, 200000, 0, std::nullopt}));
    EXPECT_EQ(defaults.value(AppPassword::kFlagKey), Json(true));
    EXPECT_FALSE(defaults.contains(AppPassword::kLegacySaltKey));
    EXPECT_FALSE(defaults.contains(AppPassword::kLegacyHashKey));
}

TEST_F(LegacyMigration, FirstCorrectEntryRehashesAtCurrentRoundsWithANewSalt) {
    ASSERT_EQ(password().status(), AppPassword::Status::set);
    EXPECT_EQ(password().check("wrong guess", 0), AppPassword::Check::wrong());
    EXPECT_EQ(password().check(kLegacyPassword, 0), AppPassword::Check::ok());
    auto record = *stored();
    EXPECT_EQ(record.rounds, 600000);
    EXPECT_NE(record.salt, legacySalt);
    EXPECT_EQ(record.salt.size(), 16u);
    EXPECT_EQ(record.failures, 0);
    EXPECT_EQ(crypto->roundsAsked.back(), 600000);
    EXPECT_EQ(password().check(kLegacyPassword, 0), AppPassword::Check::ok());
}

TEST_F(LegacyMigration, ARehashThatCannotDrawASaltKeepsTheOldRecordAndStillLetsTheUserIn) {
    ASSERT_EQ(password().status(), AppPassword::Status::set);
    crypto->failRandom = true;
    EXPECT_EQ(password().check(kLegacyPassword, 0), AppPassword::Check::ok());
    EXPECT_EQ(stored()->rounds, 200000);
    EXPECT_EQ(stored()->salt, legacySalt);
    crypto->failRandom = false;
    EXPECT_EQ(password().check(kLegacyPassword, 0), AppPassword::Check::ok());
    EXPECT_EQ(stored()->rounds, 600000);
}

TEST_F(LegacyMigration, CheckMigratesToo) {
    EXPECT_EQ(password().check(kLegacyPassword, 0), AppPassword::Check::ok());
    EXPECT_EQ(stored()->rounds, 600000);
    EXPECT_FALSE(defaults.contains(AppPassword::kLegacyHashKey));
}

TEST_F(LegacyMigration, AStoredRecordWinsOverTheLegacyValues) {
    ASSERT_TRUE(password().set("newer password 1"));
    auto current = *stored();
    defaults.setData(AppPassword::kLegacySaltKey, "salt");
    defaults.setData(AppPassword::kLegacyHashKey, "hash");
    EXPECT_EQ(password().status(), AppPassword::Status::set);
    EXPECT_EQ(*stored(), current);
    EXPECT_FALSE(defaults.contains(AppPassword::kLegacySaltKey));
}

TEST_F(LegacyMigration, AFailedSaveKeepsTheLegacyKeysForTheNextAttempt) {
    keychain.setRefusing(true);
    EXPECT_EQ(password().status(), AppPassword::Status::none);
    EXPECT_TRUE(defaults.contains(AppPassword::kLegacySaltKey));
    EXPECT_TRUE(defaults.contains(AppPassword::kLegacyHashKey));
    keychain.setRefusing(false);
    EXPECT_EQ(password().status(), AppPassword::Status::set);
    EXPECT_FALSE(defaults.contains(AppPassword::kLegacySaltKey));
}

// Legacy values of the wrong length would make a record that no entry opens; nothing is migrated
// and, as after a refused save, the keys stay.
TEST_F(LegacyMigration, LegacyValuesOfTheWrongLengthAreNotMigrated) {
    defaults.setData(AppPassword::kLegacyHashKey, std::string(20, 'h'));
    EXPECT_EQ(password().status(), AppPassword::Status::none);
    EXPECT_TRUE(keychain.items().empty());
    EXPECT_TRUE(defaults.contains(AppPassword::kLegacyHashKey));
    EXPECT_EQ(password().check(kLegacyPassword, 0), AppPassword::Check::wrong());
}

TEST_F(LegacyMigration, OneLegacyKeyAloneIsLeftAlone) {
    defaults.remove(AppPassword::kLegacyHashKey);
    EXPECT_EQ(password().status(), AppPassword::Status::none);
    EXPECT_TRUE(keychain.items().empty());
    EXPECT_TRUE(defaults.contains(AppPassword::kLegacySaltKey));
}

}  // namespace
}  // namespace nimbrel::test
