#include <limits>

#include <gtest/gtest.h>

#include "platform/sim/SimKeychain.h"
#include "protection/KeychainStorage.h"

namespace nimbrel {
namespace {

class KeychainStorageTest : public ::testing::Test {
  protected:
    sim::SimKeychain keychain;
    KeychainStorage storage{keychain, KeychainStorage::serviceFor(std::string("com.example.app"))};
    KeychainQuery query{"com.example.app.appPassword", "record"};
    PasswordRecord record{Bytes(16, 3), Bytes(32, 4), 600000, 0, std::nullopt};
};

TEST(KeychainStorageService, IsTheBundleIdentifierOrTheProgramsOwn) {
    EXPECT_EQ(KeychainStorage::serviceFor(std::string("org.example.x")),
              "org.example.x.appPassword");
    EXPECT_EQ(KeychainStorage::serviceFor(std::nullopt), "com.plovek.nimbrel.appPassword");
    EXPECT_EQ(KeychainStorage::serviceFor(std::string()), "com.plovek.nimbrel.appPassword");
}

TEST_F(KeychainStorageTest, FirstSaveCreatesTheItemASecondReplacesOnlyItsData) {
    storage.save(record);
    auto item = keychain.find(query);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->label, "Nimbrel password (hash)");
    EXPECT_EQ(item->accessibility, KeychainAccessibility::whenUnlockedThisDeviceOnly);
    EXPECT_EQ(PasswordRecord::decoded(item->data), record);

    // An item made by someone else keeps what it was made with.
    keychain.deleteItem(query);
    keychain.add({query.service, query.account, "{}", "made elsewhere",
                  KeychainAccessibility::afterFirstUnlock});
    record.failures = 3;
    storage.save(record);
    item = keychain.find(query);
    EXPECT_EQ(item->label, "made elsewhere");
    EXPECT_EQ(item->accessibility, KeychainAccessibility::afterFirstUnlock);
    EXPECT_EQ(storage.load(), record);
    EXPECT_EQ(keychain.items().size(), 1u);
}

TEST_F(KeychainStorageTest, AnItemThatIsNotARecordLoadsAsNothingAndStays) {
    storage.save(record);
    keychain.overwriteData(query, "not json at all");
    EXPECT_EQ(storage.load(), std::nullopt);
    EXPECT_EQ(keychain.find(query)->data, "not json at all");
    keychain.makeOpaque(query);
    EXPECT_EQ(storage.load(), std::nullopt);
    EXPECT_TRUE(keychain.find(query));
}

TEST_F(KeychainStorageTest, DeleteRemovesTheItemAndWithoutOneDoesNothing) {
    storage.remove();
    EXPECT_TRUE(keychain.items().empty());
    storage.save(record);
    storage.remove();
    EXPECT_EQ(storage.load(), std::nullopt);
    EXPECT_TRUE(keychain.items().empty());
}

TEST_F(KeychainStorageTest, EveryRefusalReadsAsNoRecordAndLeavesTheItemAsItWas) {
    storage.save(record);
    auto before = keychain.find(query);
    for (bool locked : {true, false}) {
        keychain.setLocked(locked);
        keychain.setRefusing(!locked);
        EXPECT_EQ(storage.load(), std::nullopt);
        storage.save(PasswordRecord{Bytes(16, 9), Bytes(32, 9), 600000, 1, std::nullopt});
        storage.remove();
    }
    keychain.setLocked(false);
    keychain.setRefusing(false);
    EXPECT_EQ(keychain.find(query), before);
}

TEST_F(KeychainStorageTest, ARecordThatCannotBeWrittenLeavesTheKeychainUntouched) {
    storage.save(record);
    auto calls = keychain.callCount();
    auto broken = record;
    broken.lockedUntil = std::numeric_limits<double>::quiet_NaN();
    storage.save(broken);
    EXPECT_EQ(keychain.callCount(), calls);
    EXPECT_EQ(storage.load(), record);
}

}  // namespace
}  // namespace nimbrel
