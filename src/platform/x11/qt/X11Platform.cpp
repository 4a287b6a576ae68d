#include "platform/x11/qt/X11Platform.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/x11/DesktopEntries.h"
#include "platform/x11/FallbackKeychain.h"
#include "platform/x11/FileKeychain.h"
#include "platform/x11/FileUserDefaults.h"
#include "platform/x11/NoMenus.h"
#include "platform/x11/SecretServiceKeychain.h"
#include "platform/x11/StreamLog.h"
#include "platform/x11/UserFolders.h"
#include "platform/x11/X11Accessibility.h"
#include "platform/x11/X11AppPresence.h"
#include "platform/x11/X11EventSource.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11KeyboardLayout.h"
#include "platform/x11/X11Screens.h"
#include "platform/x11/X11Sound.h"
#include "platform/x11/X11WindowList.h"
#include "platform/x11/X11Workspace.h"
#include "platform/x11/qt/PamAuthentication.h"
#include "platform/x11/qt/QtAlerts.h"
#include "platform/x11/qt/QtKeyEventMonitor.h"
#include "platform/x11/qt/QtPanels.h"
#include "platform/x11/qt/QtTextMetrics.h"
#include "platform/x11/qt/SessionWatch.h"

namespace nimbrel::x11 {
namespace {

// Where a store lives when the session names no folder for it: the working folder would scatter
// the user's settings, so a store without a home keeps nothing beyond the run.
std::filesystem::path storePath(const std::optional<std::filesystem::path>& folder,
                                const char* name) {
    if (!folder) {
        return {};
    }
    return *folder / "nimbrel" / name;
}

}  // namespace

// In the order they depend on each other; destroyed the other way round.
struct X11Platform::Services {
    Services(xcb_connection_t* c, int screenNumber)
        : connection(c, screenNumber),
          hub(connection),
          screens(connection, hub),
          accessibility(connection, screens, hub),
          workspace(connection, hub, screens, DesktopEntries()),
          notifications(connection, hub, loop),
          windowList(connection, screens, workspace),
          eventSource(connection, hub, screens),
          defaults(PrivateFile(storePath(userConfigFolder(), "defaults.json")), log),
          sound(connection),
          strings(&english),
          hotKeys(connection, hub),
          keyMonitor(loop),
          keyboardLayout(connection),
          fileKeychain(PrivateFile(storePath(userDataFolder(), "keychain.json")), log),
          secretService("com.plovek.nimbrel"),
          keychain(secretService, fileKeychain, loop, log),
          authentication(loop, screens, strings, log, "nimbrel"),
          alerts(loop, screens),
          panels(connection, screens, loop),
          session(QDBusConnection::systemBus(), QDBusConnection::sessionBus(), connection,
                  notifications, loop, log, strings) {}

    StreamLog log;
    QtMainLoop loop;
    Connection connection;
    EventHub hub;
    X11Screens screens;
    X11Accessibility accessibility;
    X11Workspace workspace;
    QtApplication application;
    X11SystemNotifications notifications;
    X11WindowList windowList;
    X11EventSource eventSource;
    FileUserDefaults defaults;
    X11Sound sound;
    BundledStrings english;
    Localizer strings;
    X11HotKeys hotKeys;
    QtKeyEventMonitor keyMonitor;
    X11KeyboardLayout keyboardLayout;
    X11AppPresence appPresence;
    FileKeychain fileKeychain;
    SecretServiceKeychain secretService;
    FallbackKeychain keychain;
    PamAuthentication authentication;
    QtAlerts alerts;
    QtTextMetrics textMetrics;
    QtPanels panels;
    // Reports into the notifications, so it is made after them and gone before them.
    SessionWatch session;
    NoStatusBar statusBar;
    NoDockMenu dockMenu;
    NoLoginItem loginItem;
    NoSystemSettings systemSettings;
};

std::unique_ptr<X11Platform> X11Platform::make(xcb_connection_t* connection, int screenNumber) {
    if (connection == nullptr || xcb_connection_has_error(connection) != 0) {
        return nullptr;
    }
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (screenNumber < 0 || screenNumber >= xcb_setup_roots_length(setup)) {
        return nullptr;
    }
    return std::unique_ptr<X11Platform>(
        new X11Platform(std::make_unique<Services>(connection, screenNumber)));
}

X11Platform::X11Platform(std::unique_ptr<Services> services) : services_(std::move(services)) {
    Services& s = *services_;
    platform_ = std::make_unique<Platform>(Platform{
        s.accessibility, s.workspace,   s.application,    s.notifications, s.screens,
        s.windowList,    s.eventSource, s.defaults,       s.loop,          s.sound,
        s.log,           s.strings,     s.hotKeys,        s.keyMonitor,    s.keyboardLayout,
        s.appPresence,   s.keychain,    s.authentication, s.alerts,        s.panels,
        s.textMetrics,   s.statusBar,   s.dockMenu,       s.loginItem,     s.systemSettings});
}

X11Platform::~X11Platform() = default;

void X11Platform::dispatch(const xcb_generic_event_t& event) {
    Services& s = *services_;
    if (!s.loop.isHeld()) {
        s.hub.dispatch(event);
        return;
    }
    // While a modal alert holds the loop, the program sees the event when the loop turns again.
    // An event is 32 bytes; a generic one carries its length in 4-byte units beyond that.
    std::size_t size = sizeof(xcb_generic_event_t);
    if ((event.response_type & 0x7f) == XCB_GE_GENERIC) {
        size += 4 * reinterpret_cast<const xcb_ge_generic_event_t&>(event).length;
    }
    auto copy = std::make_shared<std::vector<std::uint8_t>>(size);
    std::memcpy(copy->data(), &event, size);
    s.loop.post([this, copy] {
        services_->hub.dispatch(*reinterpret_cast<const xcb_generic_event_t*>(copy->data()));
    });
}

QtApplication& X11Platform::application() {
    return services_->application;
}

QtMainLoop& X11Platform::loop() {
    return services_->loop;
}

Log& X11Platform::log() {
    return services_->log;
}

X11SystemNotifications& X11Platform::notifications() {
    return services_->notifications;
}

}  // namespace nimbrel::x11
