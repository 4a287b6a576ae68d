#include "platform/x11/SecretServiceKeychain.h"

#include <gtest/gtest.h>
#include <libsecret/secret.h>

#include "platform/x11/keyring/DeadSessionBus.h"

namespace nimbrel::test {
namespace {

using x11::SecretServiceKeychain;
using x11::ServiceKeychain;

constexpr const char* kProgram = "com.plovek.nimbrel";

// The labels of the items the service holds for the program and this service and account, as
// another tool (a keyring manager) would list them.
std::vector<std::string> labelsInService(const KeychainQuery& query) {
    GHashTable* attributes = g_hash_table_new(g_str_hash, g_str_equal);
    g_hash_table_insert(attributes, const_cast<char*>("application"), const_cast<char*>(kProgram));
    g_hash_table_insert(attributes, const_cast<char*>("service"),
                        const_cast<char*>(query.service.c_str()));
    g_hash_table_insert(attributes, const_cast<char*>("account"),
                        const_cast<char*>(query.account.c_str()));
    SecretService* service = secret_service_get_sync(SECRET_SERVICE_NONE, nullptr, nullptr);
    GList* items = secret_service_search_sync(service, nullptr, attributes, SECRET_SEARCH_ALL,
                                              nullptr, nullptr);
    std::vector<std::string> labels;
    for (GList* at = items; at != nullptr; at = at->next) {
        gchar* label = secret_item_get_label(static_cast<SecretItem*>(at->data));
        labels.emplace_back(label);
        g_free(label);
    }
    g_list_free_full(items, g_object_unref);
    g_object_unref(service);
    g_hash_table_unref(attributes);
    return labels;
}

class SecretServiceKeychainTest : public ::testing::Test {
  protected:
    std::optional<std::string> read(Keychain& keychain, const KeychainQuery& at,
                                    KeychainStatus expected) {
        std::optional<std::string> data;
        EXPECT_EQ(keychain.copyMatching(at, data), expected);
        return data;
    }

    // Each test its own service name, so that the keyring they share starts empty for it.
    std::string service = std::string("org.nimbrel.") +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    KeychainQuery query{service, "record"};
    KeychainItem item{service, "record", std::string("{\"salt\":\"\x00\xff\"}", 13),
                      "Nimbrel password (hash)", KeychainAccessibility::whenUnlockedThisDeviceOnly};
};

TEST_F(SecretServiceKeychainTest, ItemsAnswerAsAKeychainDoesAndOutliveTheInstance) {
    {
        SecretServiceKeychain keychain(kProgram);
        EXPECT_EQ(keychain.state(), ServiceKeychain::State::usable);
        read(keychain, query, KeychainStatus::itemNotFound);
        EXPECT_EQ(keychain.update(query, "x"), KeychainStatus::itemNotFound);
        EXPECT_EQ(keychain.remove(query), KeychainStatus::itemNotFound);
        EXPECT_EQ(keychain.add(item), KeychainStatus::success);
        EXPECT_EQ(keychain.add(item), KeychainStatus::duplicateItem);
        KeychainItem other = item;
        other.account = "other";
        other.data = "";
        EXPECT_EQ(keychain.add(other), KeychainStatus::success);
    }
    // As after a restart: a new connection and a new instance.
    secret_service_disconnect();
    SecretServiceKeychain keychain(kProgram);
    EXPECT_EQ(read(keychain, query, KeychainStatus::success), item.data);
    EXPECT_EQ(labelsInService(query), std::vector<std::string>{"Nimbrel password (hash)"});
    EXPECT_EQ(keychain.update(query, "new record"), KeychainStatus::success);
    EXPECT_EQ(read(keychain, query, KeychainStatus::success), "new record");
    EXPECT_EQ(labelsInService(query), std::vector<std::string>{"Nimbrel password (hash)"});
    EXPECT_EQ(keychain.remove(query), KeychainStatus::success);
    read(keychain, query, KeychainStatus::itemNotFound);
    EXPECT_TRUE(labelsInService(query).empty());
    EXPECT_EQ(read(keychain, {service, "other"}, KeychainStatus::success), "");
}

TEST_F(SecretServiceKeychainTest, OnlyTheProgramsOwnItemsMatch) {
    // Another program's item with the same service and account, and one of another program
    // under the program's schema.
    static const SecretSchema foreign = {
        "org.example.Other",
        SECRET_SCHEMA_NONE,
        {{"service", SECRET_SCHEMA_ATTRIBUTE_STRING}, {"account", SECRET_SCHEMA_ATTRIBUTE_STRING}},
        0,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr};
    SecretService* session = secret_service_get_sync(SECRET_SERVICE_OPEN_SESSION, nullptr, nullptr);
    SecretCollection* collection = secret_collection_for_alias_sync(
        session, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, nullptr, nullptr);
    ASSERT_NE(collection, nullptr);
    GHashTable* attributes = g_hash_table_new(g_str_hash, g_str_equal);
    g_hash_table_insert(attributes, const_cast<char*>("service"),
                        const_cast<char*>(service.c_str()));
    g_hash_table_insert(attributes, const_cast<char*>("account"), const_cast<char*>("record"));
    SecretValue* value = secret_value_new("theirs", -1, "text/plain");
    SecretItem* created = secret_item_create_sync(collection, &foreign, attributes, "foreign",
                                                  value, SECRET_ITEM_CREATE_NONE, nullptr, nullptr);
    EXPECT_NE(created, nullptr);
    if (created != nullptr) {
        g_object_unref(created);
    }
    secret_value_unref(value);
    g_hash_table_unref(attributes);
    g_object_unref(collection);
    g_object_unref(session);
    SecretServiceKeychain mine(kProgram);
    SecretServiceKeychain theirs("org.example.other");
    ASSERT_EQ(theirs.add(item), KeychainStatus::success);

    read(mine, query, KeychainStatus::itemNotFound);
    EXPECT_EQ(mine.remove(query), KeychainStatus::itemNotFound);
    EXPECT_EQ(mine.add(item), KeychainStatus::success);
    EXPECT_EQ(mine.update(query, "mine"), KeychainStatus::success);
    EXPECT_EQ(read(theirs, query, KeychainStatus::success), item.data);
}

TEST_F(SecretServiceKeychainTest, NamesTheBusCannotCarryAreFailuresNotCrashes) {
    SecretServiceKeychain keychain(kProgram);
    KeychainItem bad = item;
    bad.account = "\xff\xfe";
    EXPECT_EQ(keychain.add(bad), KeychainStatus::failure);
    read(keychain, {service, std::string("a\0b", 3)}, KeychainStatus::failure);
    // A label that is not text is stored as the nearest text.
    KeychainItem badLabel = item;
    badLabel.label = "Nimbrel \xff";
    EXPECT_EQ(keychain.add(badLabel), KeychainStatus::success);
    EXPECT_EQ(read(keychain, query, KeychainStatus::success), item.data);
}

TEST_F(SecretServiceKeychainTest, WithoutABusEveryCallFailsAndTheNextCallFindsItAgain) {
    SecretServiceKeychain keychain(kProgram);
    {
        DeadSessionBus dead;
        EXPECT_EQ(keychain.state(), ServiceKeychain::State::unavailable);
        read(keychain, query, KeychainStatus::failure);
        EXPECT_EQ(keychain.add(item), KeychainStatus::failure);
        EXPECT_EQ(keychain.update(query, "x"), KeychainStatus::failure);
        EXPECT_EQ(keychain.remove(query), KeychainStatus::failure);
    }
    EXPECT_EQ(keychain.state(), ServiceKeychain::State::usable);
    EXPECT_EQ(keychain.add(item), KeychainStatus::success);
}

}  // namespace
}  // namespace nimbrel::test
