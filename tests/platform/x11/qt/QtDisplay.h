#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_aux.h>

#include <QtGui/qguiapplication_platform.h>
#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QEventLoop>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPixmap>
#include <QtGui/QScreen>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/x11/Connection.h"

// What the toolkit's tests share: Qt's own connection, a loop that turns until something holds,
// and the desktop as another client sees it.
namespace nimbrel::test {

// The program's connection is Qt's, as in the running program.
inline std::unique_ptr<x11::Connection> qtConnection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return nullptr;
    }
    return std::make_unique<x11::Connection>(x11->connection(), 0);
}

// Turns Qt's loop until `done` holds, for ten seconds at most (a loaded machine delays the
// window manager), and answers whether it came to hold.
template <typename Done>
bool spinUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

// Runs what Qt has queued without waiting for anything new.
inline void drainQt() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

inline bool viewable(x11::Connection& connection, xcb_window_t window) {
    xcb_connection_t* c = connection.get();
    x11::Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

inline bool exists(x11::Connection& connection, xcb_window_t window) {
    xcb_connection_t* c = connection.get();
    x11::Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    return attributes != nullptr;
}

inline xcb_window_t activeWindow(x11::Connection& connection) {
    auto active = connection.cardinals(connection.root(), connection.atom("_NET_ACTIVE_WINDOW"),
                                       XCB_ATOM_WINDOW);
    return active.empty() ? xcb_window_t{XCB_WINDOW_NONE} : active.front();
}

inline xcb_window_t inputFocus(x11::Connection& connection) {
    xcb_connection_t* c = connection.get();
    x11::Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    return focus ? focus->focus : xcb_window_t{XCB_WINDOW_NONE};
}

// xdotool acts as the user would, through the server's test extension.
inline bool xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

// Keeps a picture as `name`.png in the folder NIMBREL_SCREENSHOTS names, for a person to look at
// what the program draws: the whole display unless an image is given; nothing without the folder.
inline void keepScreenshot(const char* name, QImage image = {}) {
    const char* folder = std::getenv("NIMBREL_SCREENSHOTS");
    if (folder == nullptr || QGuiApplication::primaryScreen() == nullptr) {
        return;
    }
    if (image.isNull()) {
        image = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    }
    image.save(QString::fromUtf8(folder) + QLatin1Char('/') + QString::fromUtf8(name) +
               QStringLiteral(".png"));
}

}  // namespace nimbrel::test
