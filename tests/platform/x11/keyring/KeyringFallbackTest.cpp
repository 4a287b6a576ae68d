#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libsecret/secret.h>

#include "platform/x11/FallbackKeychain.h"
#include "platform/x11/PrivateFolder.h"
#include "platform/x11/SecretServiceKeychain.h"
#include "platform/x11/keyring/DeadSessionBus.h"

namespace nimbrel::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using x11::FallbackKeychain;
using x11::FileKeychain;
using x11::PrivateFile;
using x11::SecretServiceKeychain;
using x11::ServiceKeychain;

class StoppedClock final : public MainLoop {
  public:
    TimePoint now() override { return 0; }
    void post(std::function<void()>) override {}
    TimerId startTimer(double, bool, std::function<void()>) override { return 0; }
    void cancelTimer(TimerId) override {}
};

// One run of the program's keychain: the file store and the session's service, as at start.
struct KeychainRun {
    KeychainRun(const std::filesystem::path& path, Log& log)
        : file(PrivateFile(path), log), keychain(service, file, clock, log) {}
    StoppedClock clock;
    SecretServiceKeychain service{"com.plovek.nimbrel"};
    FileKeychain file;
    FallbackKeychain keychain;
};

class KeyringFallbackTest : public ::testing::Test {
  protected:
    std::filesystem::path path() const { return folder / "data" / "nimbrel" / "keychain.json"; }
    std::optional<std::string> read(Keychain& keychain, const KeychainQuery& query) {
        std::optional<std::string> data;
        EXPECT_EQ(keychain.copyMatching(query, data), KeychainStatus::success);
        return data;
    }

    PrivateFolder folder;
    RecordingLog log;
    std::string service = "org.nimbrel.fallback";
    KeychainItem password{service, "record", std::string("{\"hash\":\"\x00\x01\"}", 13),
                          "Nimbrel password (hash)",
                          KeychainAccessibility::whenUnlockedThisDeviceOnly};
    KeychainItem other{service, "other", "other data", "Other",
                       KeychainAccessibility::whenUnlockedThisDeviceOnly};
};

TEST_F(KeyringFallbackTest, WithoutABusTheFileKeepsTheRecordsAndTheNextStartMovesThemAll) {
    {
        DeadSessionBus dead;
        KeychainRun run(path(), log);
        EXPECT_FALSE(run.keychain.usesService());
        EXPECT_THAT(log.lines, Contains("keychain: the private file " + path().string() +
                                        ", since the secret service is unavailable"));
        ASSERT_EQ(run.keychain.add(password), KeychainStatus::success);
        ASSERT_EQ(run.keychain.add(other), KeychainStatus::success);
        ASSERT_EQ(run.keychain.update({service, "other"}, "changed"), KeychainStatus::success);
        EXPECT_EQ(modeOf(path()), 0600u);
    }
    log.lines.clear();
    KeychainRun run(path(), log);
    EXPECT_TRUE(run.keychain.usesService());
    EXPECT_THAT(log.lines, Contains("keychain: moved 2 records from " + path().string() +
                                    " into the secret service"));
    EXPECT_EQ(run.file.items(), std::vector<KeychainItem>{});
    EXPECT_THAT(fileText(path()), Not(HasSubstr(service)));
    EXPECT_EQ(read(run.keychain, {service, "record"}), password.data);
    // And in the service itself, for any later run.
    SecretServiceKeychain keyring("com.plovek.nimbrel");
    EXPECT_EQ(read(keyring, {service, "record"}), password.data);
    EXPECT_EQ(read(keyring, {service, "other"}), "changed");

    // A later start finds nothing to move and stays with the service.
    log.lines.clear();
    KeychainRun again(path(), log);
    EXPECT_TRUE(again.keychain.usesService());
    EXPECT_THAT(log.lines, Not(Contains(HasSubstr("moved"))));
    EXPECT_EQ(read(again.keychain, {service, "record"}), password.data);
}

// Run on a keyring of its own: once locked it stays locked, since unlocking it would mean a
// prompt.
TEST_F(KeyringFallbackTest, LockedKeyringAnswersInteractionNotAllowedAndTheFileIsUsedInstead) {
    SecretServiceKeychain keyring("com.plovek.nimbrel");
    ASSERT_EQ(keyring.add(password), KeychainStatus::success);
    SecretService* session = secret_service_get_sync(SECRET_SERVICE_NONE, nullptr, nullptr);
    SecretCollection* collection = secret_collection_for_alias_sync(
        session, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, nullptr, nullptr);
    ASSERT_NE(collection, nullptr);
    GList* objects = g_list_append(nullptr, collection);
    EXPECT_EQ(secret_service_lock_sync(session, objects, nullptr, nullptr, nullptr), 1);
    g_list_free(objects);
    g_object_unref(collection);
    g_object_unref(session);

    EXPECT_EQ(keyring.state(), ServiceKeychain::State::locked);
    std::optional<std::string> data;
    EXPECT_EQ(keyring.copyMatching({service, "record"}, data),
              KeychainStatus::interactionNotAllowed);
    EXPECT_EQ(data, std::nullopt);
    EXPECT_EQ(keyring.update({service, "record"}, "x"), KeychainStatus::interactionNotAllowed);
    EXPECT_EQ(keyring.remove({service, "record"}), KeychainStatus::interactionNotAllowed);
    EXPECT_EQ(keyring.add(other), KeychainStatus::interactionNotAllowed);

    KeychainRun run(path(), log);
    EXPECT_FALSE(run.keychain.usesService());
    EXPECT_THAT(log.lines, Contains(HasSubstr("since the secret service is locked")));
    EXPECT_EQ(run.keychain.add(other), KeychainStatus::success);
    EXPECT_EQ(read(run.file, {service, "other"}), "other data");
    EXPECT_EQ(modeOf(path()), 0600u);
}

}  // namespace
}  // namespace nimbrel::test
