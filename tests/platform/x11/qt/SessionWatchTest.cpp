// The session's services over private buses: a login manager and screen savers of the tests' own
// tell the watch what happens, and the program's observers hear it through the notifications.
#include "platform/x11/qt/SessionWatch.h"

#include <gtest/gtest.h>

#include <QtDBus/QDBusConnectionInterface>

#include <memory>
#include <string>
#include <vector>

#include "../PrivateFolder.h"
#include "../session/FakeLoginManager.h"
#include "../session/FakeScreenSaver.h"
#include "../session/PrivateBus.h"
#include "QtDisplay.h"
#include "platform/BundledStrings.h"
#include "platform/x11/qt/QtMainLoop.h"

namespace nimbrel::x11 {
namespace {

using test::spinUntil;

QDBusConnection busAt(const std::string& address) {
    static int made = 0;
    return QDBusConnection::connectToBus(QString::fromStdString(address),
                                         QStringLiteral("session-watch-test-%1").arg(++made));
}

// Answered only once the bus has handled everything sent before it on this connection.
void roundTrip(QDBusConnection& bus) {
    if (bus.isConnected()) {
        bus.interface()->isServiceRegistered(QStringLiteral("org.example.Nobody"));
    }
}

const char* eventName(SystemEvent event) {
    switch (event) {
        case SystemEvent::screenLocked:
            return "screenLocked";
        case SystemEvent::screenUnlocked:
            return "screenUnlocked";
        case SystemEvent::willSleep:
            return "willSleep";
        case SystemEvent::willPowerOff:
            return "willPowerOff";
        default:
            return "other";
    }
}

class SessionWatchTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(connection);
        ASSERT_FALSE(systemDaemon.address().empty());
        ASSERT_FALSE(sessionDaemon.address().empty());
        for (SystemEvent event : {SystemEvent::screenLocked, SystemEvent::screenUnlocked,
                                  SystemEvent::willSleep, SystemEvent::willPowerOff}) {
            observers.push_back(
                notifications.observe(event, [this, event] { seen.push_back(eventName(event)); }));
        }
    }
    void TearDown() override {
        watch.reset();
        login.reset();
        savers.clear();
        for (auto* bus : {&system, &session, &fakeSystem, &fakeSession}) {
            QDBusConnection::disconnectFromBus(bus->name());
        }
    }

    void startLoginManager() {
        login = std::make_unique<test::FakeLoginManager>(fakeSystem);
        ASSERT_TRUE(login->serves());
    }
    void startScreenSaver(const char* name) {
        savers.push_back(
            std::make_unique<test::FakeScreenSaver>(fakeSession, QString::fromLatin1(name)));
        ASSERT_TRUE(savers.back()->serves());
    }
    // Starts watching; with a login manager, until it holds a delay lock and listens to its
    // session (the lock hint is the last thing it asks).
    void startWatch() {
        watch = std::make_unique<SessionWatch>(system, session, *connection, notifications, loop,
                                               log, strings);
        roundTrip(system);
        roundTrip(session);
        if (login) {
            ASSERT_TRUE(spinUntil([&] { return login->inhibitorsHeld() == 1 && hasCall("Get"); }));
        }
    }
    bool hasCall(const std::string& method) const {
        const auto& calls = login->calls();
        return std::find(calls.begin(), calls.end(), method) != calls.end();
    }
    // Until whatever the fakes sent has reached the observers.
    void settle() {
        for (auto* bus : {&fakeSystem, &fakeSession, &system, &session}) {
            roundTrip(*bus);
        }
        for (int turn = 0; turn < 4; ++turn) {
            test::drainQt();
        }
    }
    int logged(const std::string& text) const {
        int count = 0;
        for (const auto& line : log.lines) {
            count += line.find(text) != std::string::npos ? 1 : 0;
        }
        return count;
    }

    std::unique_ptr<Connection> connection = test::qtConnection();
    EventHub hub{*connection};
    QtMainLoop loop;
    X11SystemNotifications notifications{*connection, hub, loop};
    test::RecordingLog log;
    BundledStrings english;
    Localizer strings{&english};
    test::PrivateBus systemDaemon;
    test::PrivateBus sessionDaemon;
    QDBusConnection system = busAt(systemDaemon.address());
    QDBusConnection session = busAt(sessionDaemon.address());
    QDBusConnection fakeSystem = busAt(systemDaemon.address());
    QDBusConnection fakeSession = busAt(sessionDaemon.address());
    std::unique_ptr<test::FakeLoginManager> login;
    std::vector<std::unique_ptr<test::FakeScreenSaver>> savers;
    std::unique_ptr<SessionWatch> watch;
    std::vector<Subscription> observers;
    std::vector<std::string> seen;
};

// Each service that can tell of a lock, and how it tells it.
struct LockTeller {
    const char* name;
    void (*tell)(test::FakeLoginManager& login,
                 std::vector<std::unique_ptr<test::FakeScreenSaver>>& savers, bool locked);
};

void byLockSignals(test::FakeLoginManager& login,
                   std::vector<std::unique_ptr<test::FakeScreenSaver>>&, bool locked) {
    locked ? login.lock() : login.unlock();
}
void byLockedHint(test::FakeLoginManager& login,
                  std::vector<std::unique_ptr<test::FakeScreenSaver>>&, bool locked) {
    login.setLockedHint(locked);
}
void byFreedesktopSaver(test::FakeLoginManager&,
                        std::vector<std::unique_ptr<test::FakeScreenSaver>>& savers, bool locked) {
    savers[0]->setActive(locked);
}
void byGnomeSaver(test::FakeLoginManager&,
                  std::vector<std::unique_ptr<test::FakeScreenSaver>>& savers, bool locked) {
    savers[1]->setActive(locked);
}

const LockTeller kTellers[] = {
    {"LoginManagerSignals", byLockSignals},
    {"LockedHint", byLockedHint},
    {"FreedesktopScreenSaver", byFreedesktopSaver},
    {"GnomeScreenSaver", byGnomeSaver},
};

class SessionLockTest : public SessionWatchTest, public testing::WithParamInterface<LockTeller> {};

TEST_P(SessionLockTest, ALockAndAnUnlockReachTheObserversOnceEachWhoeverTellsThemFirst) {
    startLoginManager();
    startScreenSaver("org.freedesktop.ScreenSaver");
    startScreenSaver("org.gnome.ScreenSaver");
    startWatch();
    for (bool locked : {true, false}) {
        GetParam().tell(*login, savers, locked);
        ASSERT_TRUE(spinUntil([&] { return seen.size() == (locked ? 1u : 2u); }));
        // The others tell the same a moment later.
        for (const auto& other : kTellers) {
            other.tell(*login, savers, locked);
        }
        settle();
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"screenLocked", "screenUnlocked"}));
}

INSTANTIATE_TEST_SUITE_P(Tellers, SessionLockTest, testing::ValuesIn(kTellers),
                         [](const testing::TestParamInfo<LockTeller>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(SessionWatchTest,
       ASleepRunsItsHandlersAndTheirWorkBeforeTheDelayLockGoesAndWakeTakesItAgain) {
    startLoginManager();
    startWatch();
    EXPECT_EQ(login->inhibits(), (std::vector<std::string>{"sleep:shutdown delay"}));
    // A handler that hides: it asks the X server for something and posts more work.
    xcb_atom_t mark = connection->atom("NIMBREL_TEST_SLEPT");
    std::vector<int> heldWhile;
    Subscription sleeping = notifications.observe(SystemEvent::willSleep, [&] {
        heldWhile.push_back(login->inhibitorsHeld());
        std::uint32_t value = 1;
        xcb_change_property(connection->get(), XCB_PROP_MODE_REPLACE, connection->root(), mark,
                            XCB_ATOM_CARDINAL, 32, 1, &value);
        loop.post([&] { heldWhile.push_back(login->inhibitorsHeld()); });
    });

    login->prepareForSleep(true);
    ASSERT_TRUE(spinUntil([&] { return login->inhibitorsHeld() == 0; }));
    EXPECT_EQ(heldWhile, (std::vector<int>{1, 1}));
    // Another client sees what the handler asked for by the time the lock is gone.
    auto other = Connection::open();
    ASSERT_TRUE(other);
    EXPECT_EQ(other->cardinals(other->root(), other->atom("NIMBREL_TEST_SLEPT")),
              std::vector<std::uint32_t>{1});
    xcb_delete_property(connection->get(), connection->root(), mark);
    connection->flush();

    login->prepareForSleep(false);
    ASSERT_TRUE(spinUntil([&] { return login->inhibitorsHeld() == 1; }));
    EXPECT_EQ(login->inhibits().size(), 2u);
    EXPECT_EQ(seen, (std::vector<std::string>{"willSleep"}));

    // The next sleep is a sleep again.
    login->prepareForSleep(true);
    ASSERT_TRUE(spinUntil([&] { return login->inhibitorsHeld() == 0; }));
    EXPECT_EQ(seen, (std::vector<std::string>{"willSleep", "willSleep"}));
}

TEST_F(SessionWatchTest, APowerOffIsToldOnceAndItsDelayLockGoesAfterTheHandlers) {
    startLoginManager();
    startWatch();
    int heldWhile = -1;
    Subscription poweringOff = notifications.observe(SystemEvent::willPowerOff,
                                                     [&] { heldWhile = login->inhibitorsHeld(); });
    login->prepareForShutdown(true);
    login->prepareForShutdown(true);
    ASSERT_TRUE(spinUntil([&] { return login->inhibitorsHeld() == 0; }));
    settle();
    EXPECT_EQ(heldWhile, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"willPowerOff"}));
}

TEST_F(SessionWatchTest, TheDelayLockGoesWithTheWatch) {
    startLoginManager();
    startWatch();
    watch.reset();
    EXPECT_EQ(login->inhibitorsHeld(), 0);
}

// How the watch finds its session: by the name the environment gives, else by its process.
struct SessionLookup {
    const char* name;
    const char* sessionId;  // XDG_SESSION_ID, none when unset
    std::vector<std::string> calls;
};

class SessionLookupTest : public SessionWatchTest,
                          public testing::WithParamInterface<SessionLookup> {
  protected:
    void SetUp() override {
        SessionWatchTest::SetUp();
        saved = qgetenv("XDG_SESSION_ID");
        hadId = qEnvironmentVariableIsSet("XDG_SESSION_ID");
        if (GetParam().sessionId != nullptr) {
            qputenv("XDG_SESSION_ID", GetParam().sessionId);
        } else {
            qunsetenv("XDG_SESSION_ID");
        }
    }
    void TearDown() override {
        hadId ? qputenv("XDG_SESSION_ID", saved) : qunsetenv("XDG_SESSION_ID");
        SessionWatchTest::TearDown();
    }
    QByteArray saved;
    bool hadId = false;
};

TEST_P(SessionLookupTest, TheSessionFoundIsTheOneWhoseLockIsHeard) {
    startLoginManager();
    startWatch();
    std::vector<std::string> lookups;
    for (const auto& call : login->calls()) {
        if (call.rfind("GetSession", 0) == 0) {
            lookups.push_back(call);
        }
    }
    EXPECT_EQ(lookups, GetParam().calls);
    login->lock();
    EXPECT_TRUE(spinUntil([&] { return seen == std::vector<std::string>{"screenLocked"}; }));
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, SessionLookupTest,
    testing::Values(SessionLookup{"Unnamed", nullptr, {"GetSessionByPID"}},
                    SessionLookup{"Named", test::FakeLoginManager::kSessionId, {"GetSession"}},
                    SessionLookup{"NamedButUnknown", "c99", {"GetSession", "GetSessionByPID"}}),
    [](const testing::TestParamInfo<SessionLookup>& info) { return std::string(info.param.name); });

// Where the login manager is missing: nobody owns its name, or there is no system bus at all.
struct MissingManager {
    const char* name;
    bool busReachable;
};

class MissingLoginManagerTest : public SessionWatchTest,
                                public testing::WithParamInterface<MissingManager> {};

TEST_P(MissingLoginManagerTest, TheLogSaysSoOnceAndAScreenSaverStillTellsALock) {
    if (!GetParam().busReachable) {
        QDBusConnection::disconnectFromBus(system.name());
        system = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"),
                                               QStringLiteral("session-watch-test-nowhere"));
        ASSERT_FALSE(system.isConnected());
    }
    startScreenSaver("org.freedesktop.ScreenSaver");
    startWatch();
    ASSERT_TRUE(spinUntil([&] { return logged("no login manager") > 0; }));
    savers[0]->setActive(true);
    ASSERT_TRUE(spinUntil([&] { return !seen.empty(); }));
    settle();
    EXPECT_EQ(logged("no login manager"), 1) << log.lines.front();
    EXPECT_EQ(seen, (std::vector<std::string>{"screenLocked"}));
}

INSTANTIATE_TEST_SUITE_P(Missing, MissingLoginManagerTest,
                         testing::Values(MissingManager{"NameNotOwned", true},
                                         MissingManager{"NoBus", false}),
                         [](const testing::TestParamInfo<MissingManager>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace nimbrel::x11
