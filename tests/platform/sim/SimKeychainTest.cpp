#include <gtest/gtest.h>

#include "platform/sim/SimKeychain.h"

namespace nimbrel::sim {
namespace {

const KeychainQuery kQuery{"svc", "acct"};
const KeychainItem kItem{"svc", "acct", "{\"a\":1}", "Label",
                         KeychainAccessibility::whenUnlockedThisDeviceOnly};

TEST(SimKeychain, AnswersAsTheKeychainDoes) {
    SimKeychain keychain;
    std::optional<std::string> data = "stale";
    EXPECT_EQ(keychain.copyMatching(kQuery, data), KeychainStatus::itemNotFound);
    EXPECT_EQ(data, std::nullopt);
    EXPECT_EQ(keychain.update(kQuery, "x"), KeychainStatus::itemNotFound);
    EXPECT_EQ(keychain.remove(kQuery), KeychainStatus::itemNotFound);
    EXPECT_EQ(keychain.add(kItem), KeychainStatus::success);
    EXPECT_EQ(keychain.add(kItem), KeychainStatus::duplicateItem);
    EXPECT_EQ(keychain.copyMatching(kQuery, data), KeychainStatus::success);
    EXPECT_EQ(data, kItem.data);
    EXPECT_EQ(keychain.copyMatching({"svc", "other"}, data), KeychainStatus::itemNotFound);
    EXPECT_EQ(keychain.describe(kQuery), "keychain svc acct label=\"Label\" {\"a\":1}");
    EXPECT_EQ(keychain.remove(kQuery), KeychainStatus::success);
    EXPECT_EQ(keychain.describe(kQuery), "keychain none");
}

TEST(SimKeychain, RefusingAndLockedKeychainsFailEveryCallAndChangeNothing) {
    SimKeychain keychain;
    keychain.add(kItem);
    for (auto [refusing, status] : {std::pair{true, KeychainStatus::accessDenied},
                                    std::pair{false, KeychainStatus::interactionNotAllowed}}) {
        keychain.setRefusing(refusing);
        keychain.setLocked(!refusing);
        std::optional<std::string> data;
        EXPECT_EQ(keychain.copyMatching(kQuery, data), status);
        EXPECT_EQ(data, std::nullopt);
        EXPECT_EQ(keychain.update(kQuery, "x"), status);
        EXPECT_EQ(keychain.add({"svc2", "acct", "", "", {}}), status);
        EXPECT_EQ(keychain.remove(kQuery), status);
    }
    EXPECT_EQ(keychain.items(), std::vector<KeychainItem>{kItem});
}

}  // namespace
}  // namespace nimbrel::sim
