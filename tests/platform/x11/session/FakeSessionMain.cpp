// The login manager and the screen saver of the tests' own as a process, for tests of the real
// program: `nimbrel-fake-session SYSTEM-BUS SESSION-BUS [--no-login-manager]` serves them on the
// two bus addresses, prints "ready", then takes one command a line on its input and answers each
// with one line:
//   lock | unlock | locked-hint 0|1 | saver 0|1 | sleep 0|1 | shutdown 0|1   -> "ok"
//   inhibitors                                                           -> "taken N held M"
//   called METHOD                                                        -> how many calls
// It ends when its input ends.
#include <unistd.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QSocketNotifier>
#include <QtDBus/QDBusConnectionInterface>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "FakeLoginManager.h"
#include "FakeScreenSaver.h"

namespace {

using nimbrel::test::FakeLoginManager;
using nimbrel::test::FakeScreenSaver;

void answer(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string run(const std::string& line, FakeLoginManager* login, FakeScreenSaver& saver) {
    std::string command = line.substr(0, line.find(' '));
    bool flag = line.size() > command.size() && line.back() == '1';
    if (command == "saver") {
        saver.setActive(flag);
        return "ok";
    }
    if (login == nullptr) {
        return "no login manager";
    }
    if (command == "lock") {
        login->lock();
    } else if (command == "unlock") {
        login->unlock();
    } else if (command == "locked-hint") {
        login->setLockedHint(flag);
    } else if (command == "sleep") {
        login->prepareForSleep(flag);
    } else if (command == "shutdown") {
        login->prepareForShutdown(flag);
    } else if (command == "called") {
        std::string method = line.substr(command.size() + 1);
        const auto& calls = login->calls();
        return std::to_string(std::count(calls.begin(), calls.end(), method));
    } else if (command == "inhibitors") {
        return "taken " + std::to_string(login->inhibits().size()) + " held " +
               std::to_string(login->inhibitorsHeld());
    } else {
        return "unknown command: " + line;
    }
    return "ok";
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: nimbrel-fake-session SYSTEM-BUS SESSION-BUS [--no-login-manager]\n");
        return 2;
    }
    QDBusConnection system =
        QDBusConnection::connectToBus(QString::fromLocal8Bit(argv[1]), QStringLiteral("system"));
    QDBusConnection session =
        QDBusConnection::connectToBus(QString::fromLocal8Bit(argv[2]), QStringLiteral("session"));
    std::unique_ptr<FakeLoginManager> login;
    if (argc < 4 || std::string(argv[3]) != "--no-login-manager") {
        login = std::make_unique<FakeLoginManager>(system);
    }
    FakeScreenSaver saver(session, QStringLiteral("org.freedesktop.ScreenSaver"));
    if ((login && !login->serves()) || !saver.serves()) {
        std::fprintf(stderr, "nimbrel-fake-session: cannot serve on the buses\n");
        return 1;
    }

    std::string pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            std::string reply = run(line, login.get(), saver);
            // Answered once the buses have passed the signal on.
            for (auto* bus : {&system, &session}) {
                bus->interface()->isServiceRegistered(QStringLiteral("org.example.Nobody"));
            }
            answer(reply);
        }
    });
    answer("ready");
    int status = QCoreApplication::exec();
    login.reset();
    return status;
}
