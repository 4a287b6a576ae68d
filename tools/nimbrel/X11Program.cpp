#include "X11Program.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QtCore/QAbstractNativeEventFilter>
#include <QtCore/QSocketNotifier>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "app/ProgramEntry.h"
#include "platform/BundledStrings.h"
#include "platform/x11/qt/X11Platform.h"

namespace nimbrel::x11 {
namespace {

// Written by the signal handler, read by the loop: the one thing a handler may safely do.
int signalPipe[2] = {-1, -1};

extern "C" void onEndingSignal(int number) {
    unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] ssize_t written = ::write(signalPipe[1], &byte, 1);
}

bool catchEndingSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return false;
    }
    struct sigaction action {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGHUP, SIGINT}) {
        ::sigaction(number, &action, nullptr);
    }
    return true;
}

// The toolkit reads the connection; every event it reads reaches the program's services too.
class EventFeed final : public QAbstractNativeEventFilter {
  public:
    explicit EventFeed(X11Platform& platform) : platform_(platform) {}
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type == "xcb_generic_event_t") {
            platform_.dispatch(*static_cast<const xcb_generic_event_t*>(message));
        }
        return false;
    }

  private:
    X11Platform& platform_;
};

void say(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

const char* targetName(const ShortcutTarget& target) {
    switch (target.kind) {
        case ShortcutTarget::Kind::window:
            return "a window's own";
        case ShortcutTarget::Kind::focused:
            return "hide the focused window";
        case ShortcutTarget::Kind::all:
            return "hide the designated windows";
        case ShortcutTarget::Kind::designate:
            return "designate a window";
        case ShortcutTarget::Kind::focusMode:
            return "focus mode";
        case ShortcutTarget::Kind::regionCover:
            return "cover a region";
        case ShortcutTarget::Kind::regionClear:
            return "clear the region covers";
    }
    return "unknown";
}

}  // namespace

int runProgram(int argc, char** argv) {
    BundledStrings english;
    Localizer strings(&english);
    const char* sessionType = std::getenv("XDG_SESSION_TYPE");
    if ((sessionType != nullptr && std::string(sessionType) == "wayland") ||
        isSet("WAYLAND_DISPLAY")) {
        say(strings.text("start.wayland"_key));
    }
    if (!isSet("DISPLAY")) {
        say(strings.text("start.noDisplay"_key));
        return 1;
    }
    // On a Wayland session Qt would pick Wayland, where no other client's window can be reached.
    qputenv("QT_QPA_PLATFORM", "xcb");

    // Caught from the start: a signal that comes while the program starts waits in the socket
    // pair until the loop can end the program properly.
    bool catchesSignals = catchEndingSignals();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Nimbrel");
    QApplication::setQuitOnLastWindowClosed(false);
    auto* native = application.nativeInterface<QNativeInterface::QX11Application>();
    int screenNumber = 0;
    xcb_connection_t* connection = nullptr;
    if (native != nullptr) {
        connection = native->connection();
        char* host = nullptr;
        int display = 0;
        if (xcb_parse_display(nullptr, &host, &display, &screenNumber) == 0) {
            screenNumber = 0;
        }
        std::free(host);
    }
    auto platform = X11Platform::make(connection, screenNumber);
    if (!platform) {
        say(strings.text("start.noConnection"_key, {std::string(std::getenv("DISPLAY"))}));
        return 1;
    }
    EventFeed feed(*platform);
    application.installNativeEventFilter(&feed);

    Log& log = platform->log();

    auto delegate = launchProgram(platform->platform());
    // The shortcuts that could not be registered (another client holds the combination), until
    // the settings window shows them.
    Subscription unavailable =
        delegate->store().unavailable().subscribe([&log](const std::set<ShortcutTarget>& targets) {
            for (const auto& target : targets) {
                log.log(std::string("shortcut unavailable: ") + targetName(target));
            }
        });
    log.log("started");
    // A deferred quit the user granted has shut the program down already; the process follows.
    platform->application().onTerminateReply = [](bool terminate) {
        if (terminate) {
            QCoreApplication::quit();
        }
    };

    // A power-off quits without asking, whatever is locked, once every handler has heard of it.
    // It ends the program as the session's end does: a power-off that does not happen after all
    // (or a session that outlives it) must not find the locked windows released, so they stay
    // out of sight and the next start adopts them.
    Subscription powerOff = platform->notifications().observe(SystemEvent::willPowerOff, [&] {
        platform->loop().post([&] {
            log.log("quitting for the power-off");
            delegate->endForSession();
            QCoreApplication::quit();
        });
    });

    std::unique_ptr<QSocketNotifier> signals;
    if (catchesSignals) {
        signals = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        QObject::connect(signals.get(), &QSocketNotifier::activated, [&] {
            unsigned char number = 0;
            [[maybe_unused]] ssize_t got = ::read(signalPipe[0], &number, 1);
            signals->setEnabled(false);
            log.log("ending on signal " + std::to_string(number));
            delegate->endForSession();
            QCoreApplication::quit();
        });
    } else {
        log.log("cannot watch for the session's end: a signal will end the process at once");
    }

    int status = QApplication::exec();
    signals.reset();
    powerOff.cancel();
    unavailable.cancel();
    application.removeNativeEventFilter(&feed);
    delegate.reset();
    platform.reset();
    return status;
}

}  // namespace nimbrel::x11
