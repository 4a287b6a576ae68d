// The real program's keychain in a session with a Secret Service.
#include <gio/gio.h>
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

// The process of the session bus, as the bus itself tells it.
pid_t busDaemon() {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (bus == nullptr) {
        return 0;
    }
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "GetConnectionUnixProcessID", g_variant_new("(s)", "org.freedesktop.DBus"),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    guint32 pid = 0;
    if (reply != nullptr) {
        g_variant_get(reply, "(u)", &pid);
        g_variant_unref(reply);
    }
    g_object_unref(bus);
    return static_cast<pid_t>(pid);
}

// Ends the session bus of the run, so it runs on a keyring of its own, and last.
TEST(ProgramKeychainTest, TheSessionBusGoingAwayDoesNotEndTheProgram) {
    if (!onPrivateKeyring()) {
        GTEST_SKIP() << "needs the private keyring of with-keyring.sh";
    }
    PrivateFolder home;
    RunningProgram program{home / "home"};
    ASSERT_TRUE(program.start()) << program.log();
    ASSERT_EQ(program.count("keychain: the secret service's default collection"), 1);
    pid_t daemon = busDaemon();
    ASSERT_GT(daemon, 0);
    ::kill(daemon, SIGTERM);
    for (int i = 0; i < 1000 && ::kill(daemon, 0) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // GLib's shared connection would end the process with SIGTERM when it closes; the program
    // must still be there to be ended with a signal of the test's choosing.
    EXPECT_EQ(program.end(SIGINT), 0);
    EXPECT_EQ(program.count("ending on signal " + std::to_string(SIGINT)), 1) << program.log();
}

}  // namespace
}  // namespace nimbrel::test
