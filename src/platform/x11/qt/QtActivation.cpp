#include "platform/x11/qt/QtActivation.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QWidget>

#include <cstdlib>

namespace nimbrel::x11 {

void askToActivate(QWidget& window) {
    window.raise();
    window.activateWindow();
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    xcb_connection_t* c = x11->connection();
    const char name[] = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    if (atom == nullptr) {
        return;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window.winId());
    message.type = atom->atom;
    message.data.data32[0] = 2;  // the pager's request
    message.data.data32[1] = XCB_CURRENT_TIME;
    std::free(atom);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
}

}  // namespace nimbrel::x11
