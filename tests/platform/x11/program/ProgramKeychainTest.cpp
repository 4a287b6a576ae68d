// The real program's keychain in a session with a Secret Service.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>

#include "../PrivateFolder.h"
#include "RunningProgram.h"
#include "platform/x11/FileKeychain.h"
#include "platform/x11/SecretServiceKeychain.h"

namespace nimbrel::test {
namespace {

bool onPrivateKeyring() {
    const char* bus = std::getenv("WITH_KEYRING_BUS");
    return bus != nullptr && std::string(bus) == "private";
}

TEST(ProgramKeychainTest, APasswordKeptInTheFileMovesIntoTheKeyringAndOutlivesRestarts) {
    if (!onPrivateKeyring()) {
        GTEST_SKIP() << "needs the private keyring of with-keyring.sh";
    }
    PrivateFolder home;
    RunningProgram program{home / "home"};
    // As a run without a keyring left it.
    auto path = home / "home" / ".local" / "share" / "nimbrel" / "keychain.json";
    RecordingLog log;
    x11::FileKeychain file(x11::PrivateFile(path), log);
    KeychainItem record{"com.plovek.nimbrel.appPassword", "record",
                        R"({"salt":"c2FsdA==","hash":"aGFzaA==","rounds":600000,"failures":0})",
                        "Nimbrel password (hash)",
                        KeychainAccessibility::whenUnlockedThisDeviceOnly};
    ASSERT_EQ(file.add(record), KeychainStatus::success);

    ASSERT_TRUE(program.start()) << program.log();
    EXPECT_EQ(program.count("keychain: moved 1 record from " + path.string() +
                            " into the secret service"),
              1)
        << program.log();
    EXPECT_EQ(program.count("keychain: the secret service's default collection"), 1);
    EXPECT_EQ(program.end(SIGTERM), 0);
    EXPECT_EQ(file.items(), std::vector<KeychainItem>{});

    ASSERT_TRUE(program.start()) << program.log();
    EXPECT_EQ(program.count("keychain: the secret service's default collection"), 2);
    EXPECT_EQ(program.count("keychain: moved"), 1);
    EXPECT_EQ(program.end(SIGTERM), 0);

    x11::SecretServiceKeychain keyring("com.plovek.nimbrel");
    std::optional<std::string> data;
    EXPECT_EQ(keyring.copyMatching({record.service, record.account}, data),
              KeychainStatus::success);
    EXPECT_EQ(data, record.data);
}

}  // namespace
}  // namespace nimbrel::test
