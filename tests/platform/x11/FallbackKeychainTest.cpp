#include "platform/x11/FallbackKeychain.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/x11/PrivateFolder.h"

namespace nimbrel::test {
namespace {

using ::testing::HasSubstr;
using x11::FallbackKeychain;
using x11::FileKeychain;
using x11::PrivateFile;
using x11::ServiceKeychain;

// A session keychain in memory that can be locked, taken away, or made to fail one account's
// writes or give back other data for it.
class FakeServiceKeychain final : public ServiceKeychain {
  public:
    State state() override {
        ++looks;
        return current;
    }
    KeychainStatus copyMatching(const KeychainQuery& query,
                                std::optional<std::string>& data) override {
        if (auto refused = refusal()) {
            return *refused;
        }
        auto it = items.find(key(query));
        if (it == items.end()) {
            return KeychainStatus::itemNotFound;
        }
        bool garbled = query.account == garbledAccount && written.count(key(query)) != 0;
        data = garbled ? it->second.data + "?" : it->second.data;
        return KeychainStatus::success;
    }
    KeychainStatus update(const KeychainQuery& query, const std::string& data) override {
        if (auto refused = refusal(query)) {
            return *refused;
        }
        auto it = items.find(key(query));
        if (it == items.end()) {
            return KeychainStatus::itemNotFound;
        }
        it->second.data = data;
        written.insert(key(query));
        return KeychainStatus::success;
    }
    KeychainStatus add(const KeychainItem& item) override {
        if (auto refused = refusal({item.service, item.account})) {
            return *refused;
        }
        if (!items.emplace(key({item.service, item.account}), item).second) {
            return KeychainStatus::duplicateItem;
        }
        written.insert(key({item.service, item.account}));
        return KeychainStatus::success;
    }
    KeychainStatus remove(const KeychainQuery& query) override {
        if (auto refused = refusal()) {
            return *refused;
        }
        return items.erase(key(query)) == 1 ? KeychainStatus::success
                                            : KeychainStatus::itemNotFound;
    }

    using Key = std::pair<std::string, std::string>;
    static Key key(const KeychainQuery& query) { return {query.service, query.account}; }

    State current = State::usable;
    std::map<Key, KeychainItem> items;
    std::string failingAccount;  // its writes fail
    std::string garbledAccount;  // its data reads back changed once written here
    int looks = 0;

  private:
    std::set<Key> written;

    std::optional<KeychainStatus> refusal(const KeychainQuery& query = {}) const {
        if (current == State::locked) {
            return KeychainStatus::interactionNotAllowed;
        }
        if (current == State::unavailable ||
            (!failingAccount.empty() && query.account == failingAccount)) {
            return KeychainStatus::failure;
        }
        return std::nullopt;
    }
};

class FakeClock final : public MainLoop {
  public:
    TimePoint now() override { return time; }
    void post(std::function<void()>) override {}
    TimerId startTimer(double, bool, std::function<void()>) override { return 0; }
    void cancelTimer(TimerId) override {}
    TimePoint time = 1000.0;
};

class FallbackKeychainTest : public ::testing::Test {
  protected:
    std::filesystem::path path() const { return folder / "data" / "nimbrel" / "keychain.json"; }

    KeychainItem record(const std::string& account, const std::string& data) const {
        return {"org.nimbrel", account, data, "Nimbrel " + account,
                KeychainAccessibility::whenUnlockedThisDeviceOnly};
    }
    // The records the file holds, as the previous run left them.
    void fileHolds(const std::vector<KeychainItem>& items) {
        for (const auto& item : items) {
            ASSERT_EQ(file.add(item), KeychainStatus::success);
        }
    }
    std::vector<KeychainItem> fileItems() {
        return file.items().value_or(std::vector<KeychainItem>{});
    }
    std::optional<std::string> read(Keychain& keychain, const std::string& account) {
        std::optional<std::string> data;
        keychain.copyMatching({"org.nimbrel", account}, data);
        return data;
    }
    bool logged(const std::string& text) const {
        return std::any_of(log.lines.begin(), log.lines.end(),
                           [&](const std::string& line) { return line.find(text) != line.npos; });
    }

    PrivateFolder folder;
    RecordingLog log;
    FakeClock clock;
    FakeServiceKeychain service;
    FileKeychain file{PrivateFile(path()), log};
};

TEST_F(FallbackKeychainTest, AtStartTheFileRecordsMoveIntoTheServiceWhichHasTheLastWord) {
    // The service kept an older version of one record from a run that could not reach the file.
    service.items[{"org.nimbrel", "password"}] = record("password", "old");
    const std::string binary("\x01\x00\xff", 3);
    fileHolds({record("password", "new"), record("other", binary)});

    FallbackKeychain keychain(service, file, clock, log);

    EXPECT_TRUE(keychain.usesService());
    EXPECT_TRUE(fileItems().empty());
    EXPECT_EQ(read(keychain, "password"), "new");
    EXPECT_EQ(read(keychain, "other"), binary);
    EXPECT_EQ(service.items.at({"org.nimbrel", "other"}).label, "Nimbrel other");
    EXPECT_TRUE(logged("moved 2 records from " + path().string()));
    EXPECT_EQ(log.lines.back(), "keychain: the secret service's default collection");

    // Once in use, the service answers even when it is gone: the file is not written again.
    service.current = ServiceKeychain::State::unavailable;
    clock.time += 3600;
    EXPECT_EQ(keychain.add(record("third", "x")), KeychainStatus::failure);
    EXPECT_TRUE(fileItems().empty());
}

struct MoveFault {
    const char* name;
    std::function<void(FakeServiceKeychain&)> inject;
};

class FallbackKeychainMoveTest : public FallbackKeychainTest,
                                 public ::testing::WithParamInterface<MoveFault> {};

TEST_P(FallbackKeychainMoveTest, AMoveThatFailsAnywhereLeavesBothStoresAsTheyWere) {
    service.items[{"org.nimbrel", "b"}] = record("b", "service's b");
    const auto before = service.items;
    fileHolds({record("a", "file's a"), record("b", "file's b"), record("c", "file's c")});
    const auto inFile = fileItems();
    GetParam().inject(service);

    FallbackKeychain keychain(service, file, clock, log);

    EXPECT_FALSE(keychain.usesService());
    service.failingAccount.clear();
    service.garbledAccount.clear();
    EXPECT_EQ(service.items.size(), before.size());
    for (const auto& [key, item] : before) {
        EXPECT_EQ(service.items.at(key), item) << key.second;
    }
    EXPECT_EQ(fileItems(), inFile);
    EXPECT_TRUE(logged("cannot move the records of " + path().string()));
    EXPECT_TRUE(logged("since its records could not be moved"));
    // The program keeps working on the file.
    EXPECT_EQ(read(keychain, "c"), "file's c");
}

INSTANTIATE_TEST_SUITE_P(Faults, FallbackKeychainMoveTest,
                         ::testing::Values(MoveFault{"AddFailsForALaterRecord",
                                                     [](auto& s) { s.failingAccount = "c"; }},
                                           MoveFault{"UpdateOfAnExistingRecordFails",
                                                     [](auto& s) { s.failingAccount = "b"; }},
                                           MoveFault{"ARecordReadsBackOtherwise",
                                                     [](auto& s) { s.garbledAccount = "c"; }},
                                           MoveFault{"AnOverwrittenRecordReadsBackOtherwise",
                                                     [](auto& s) { s.garbledAccount = "b"; }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FallbackKeychainTest, ALockedServiceIsLookedAtAgainOnALaterCallAndThenTakesOver) {
    service.current = ServiceKeychain::State::locked;
    FallbackKeychain keychain(service, file, clock, log);
    EXPECT_FALSE(keychain.usesService());
    EXPECT_EQ(log.lines.back(), "keychain: the private file " + path().string() +
                                    ", since the secret service is locked");
    ASSERT_EQ(keychain.add(record("password", "kept in the file")), KeychainStatus::success);
    EXPECT_EQ(modeOf(path()), 0600u);

    // Calls soon after the last look do not ask the service again.
    service.current = ServiceKeychain::State::usable;
    int looks = service.looks;
    clock.time += FallbackKeychain::kLookAgainAfter - 1;
    EXPECT_EQ(read(keychain, "password"), "kept in the file");
    EXPECT_EQ(service.looks, looks);
    EXPECT_FALSE(keychain.usesService());

    clock.time += 1;
    EXPECT_EQ(read(keychain, "password"), "kept in the file");
    EXPECT_TRUE(keychain.usesService());
    EXPECT_TRUE(fileItems().empty());
    EXPECT_EQ(service.items.at({"org.nimbrel", "password"}).data, "kept in the file");
    EXPECT_TRUE(logged("moved 1 record from"));
}

TEST_F(FallbackKeychainTest, AClockSetBackStillLetsTheServiceBeFound) {
    service.current = ServiceKeychain::State::unavailable;
    FallbackKeychain keychain(service, file, clock, log);
    EXPECT_TRUE(logged("since the secret service is unavailable"));
    service.current = ServiceKeychain::State::usable;
    clock.time -= 24 * 3600;
    read(keychain, "password");
    EXPECT_TRUE(keychain.usesService());
}

TEST_F(FallbackKeychainTest, AnUnreadableFileKeepsItsRecordsAndStaysInUse) {
    const std::string damaged = R"([{"service": "org.nimbrel"}])";
    writeText(path(), damaged);
    FallbackKeychain keychain(service, file, clock, log);
    clock.time += FallbackKeychain::kLookAgainAfter;
    EXPECT_EQ(keychain.add(record("password", "new")), KeychainStatus::failure);

    EXPECT_FALSE(keychain.usesService());
    EXPECT_TRUE(service.items.empty());
    EXPECT_EQ(fileText(path()), damaged);
    EXPECT_EQ(std::count_if(log.lines.begin(), log.lines.end(),
                            [](const std::string& line) {
                                return line.find("which cannot be read") != line.npos;
                            }),
              1);
}

}  // namespace
}  // namespace nimbrel::test
