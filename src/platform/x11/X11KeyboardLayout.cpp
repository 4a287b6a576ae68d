#include "platform/x11/X11KeyboardLayout.h"

#include <xkbcommon/xkbcommon-x11.h>

#include "platform/x11/VirtualKeys.h"

namespace nimbrel::x11 {

X11KeyboardLayout::X11KeyboardLayout(Connection& connection)
    : connection_(connection), context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
    reload();
}

X11KeyboardLayout::~X11KeyboardLayout() {
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

void X11KeyboardLayout::reload() {
    if (context_ == nullptr) {
        return;
    }
    xcb_connection_t* c = connection_.get();
    // Binding to the extension is asked once per connection; asking again is harmless.
    if (xkb_x11_setup_xkb_extension(c, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                    nullptr) == 0) {
        return;
    }
    std::int32_t device = xkb_x11_get_core_keyboard_device_id(c);
    xkb_keymap* fresh = device < 0 ? nullptr
                                   : xkb_x11_keymap_new_from_device(context_, c, device,
                                                                    XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (fresh != nullptr) {
        xkb_keymap_unref(keymap_);
        keymap_ = fresh;
    }
}

std::string X11KeyboardLayout::characters(std::uint32_t keyCode) {
    auto keycode = keycodeFor(keyCode);
    if (!keycode || keymap_ == nullptr) {
        return {};
    }
    // A state of its own: the key's text with no modifier held, whatever the user holds now.
    xkb_state* state = xkb_state_new(keymap_);
    if (state == nullptr) {
        return {};
    }
    char text[32] = {};
    int length = xkb_state_key_get_utf8(state, *keycode, text, sizeof text);
    xkb_state_unref(state);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof text) {
        return {};
    }
    std::string result(text, static_cast<std::size_t>(length));
    // Control characters (Return, Tab, Escape) are not text a key shows.
    if (result.size() == 1 && static_cast<unsigned char>(result[0]) < 0x20) {
        return {};
    }
    return result;
}

}  // namespace nimbrel::x11
