#pragma once

#include <xcb/xcb.h>

#include <memory>

#include "platform/BundledStrings.h"
#include "platform/Platform.h"
#include "platform/x11/EventHub.h"
#include "platform/x11/X11SystemNotifications.h"
#include "platform/x11/qt/QtApplication.h"
#include "platform/x11/qt/QtMainLoop.h"

namespace nimbrel::x11 {

// Every service of the program on an X display, over the toolkit's connection. Made once by the
// process entry after the Qt application, and gone before it.
class X11Platform {
  public:
    // Borrows the connection; none when it does not reach a usable screen.
    static std::unique_ptr<X11Platform> make(xcb_connection_t* connection, int screenNumber);
    ~X11Platform();
    X11Platform(const X11Platform&) = delete;
    X11Platform& operator=(const X11Platform&) = delete;

    Platform& platform() { return *platform_; }
    // Each X event of the connection, as the toolkit reads it.
    void dispatch(const xcb_generic_event_t& event);

    QtApplication& application();
    QtMainLoop& loop();
    Log& log();
    X11SystemNotifications& notifications();

  private:
    struct Services;
    explicit X11Platform(std::unique_ptr<Services> services);

    std::unique_ptr<Services> services_;
    std::unique_ptr<Platform> platform_;
};

}  // namespace nimbrel::x11
