#include "platform/x11/X11HotKeys.h"

// The XKB header names a member `explicit`, a C++ keyword.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define explicit xcb_explicit
#include <xcb/xkb.h>
#undef explicit
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

#include <vector>

#include "platform/x11/VirtualKeys.h"

namespace nimbrel::x11 {
namespace {

// Num Lock is Mod2 on every keyboard map X servers ship.
constexpr std::uint16_t kLockStates[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                         XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr std::uint16_t kLockBits = XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2;
constexpr std::uint8_t kBadAccess = 10;

}  // namespace

X11HotKeys::X11HotKeys(Connection& connection, EventHub& events) : connection_(connection) {
    xcb_connection_t* c = connection_.get();
    Reply<xcb_xkb_use_extension_reply_t> xkb(
        xcb_xkb_use_extension_reply(c, xcb_xkb_use_extension(c, 1, 0), nullptr));
    if (xkb && xkb->supported != 0) {
        std::uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
        Reply<xcb_xkb_per_client_flags_reply_t> flags(xcb_xkb_per_client_flags_reply(
            c, xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0), nullptr));
    }
    subscription_ = events.subscribe([this](const xcb_generic_event_t& e) { handle(e); });
}

X11HotKeys::~X11HotKeys() {
    for (const auto& [id, grab] : grabs_) {
        ungrab(grab);
    }
    connection_.flush();
}

Subscription X11HotKeys::installHandler(Handler handler) {
    std::uint64_t id = nextHandler_++;
    handlers_.emplace(id, std::move(handler));
    return Subscription([this, id] { handlers_.erase(id); });
}

void X11HotKeys::ungrab(const Grab& grab) {
    for (std::uint16_t lock : kLockStates) {
        xcb_ungrab_key(connection_.get(), grab.keycode, connection_.root(), grab.modifiers | lock);
    }
}

HotKeyStatus X11HotKeys::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                        HotKeyIdentity identity, HotKeyRef& ref) {
    auto keycode = keycodeFor(keyCode);
    if (!keycode) {
        return kHotKeyInvalidError;
    }
    Grab grab{*keycode, modifierBitsFor(modifiers), identity};
    for (const auto& [id, held] : grabs_) {
        if (held.keycode == grab.keycode && held.modifiers == grab.modifiers) {
            return kHotKeyExistsError;
        }
    }
    xcb_connection_t* c = connection_.get();
    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint16_t lock : kLockStates) {
        cookies.push_back(xcb_grab_key_checked(c, 1, connection_.root(), grab.modifiers | lock,
                                               grab.keycode, XCB_GRAB_MODE_ASYNC,
                                               XCB_GRAB_MODE_ASYNC));
    }
    bool refused = false;
    bool failed = false;
    for (auto cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            (error->error_code == kBadAccess ? refused : failed) = true;
            std::free(error);
        }
    }
    if (refused || failed) {
        // The variants that did succeed must not stay behind.
        ungrab(grab);
        connection_.flush();
        return refused ? kHotKeyExistsError : kHotKeyInvalidError;
    }
    ref = HotKeyRef{nextRef_++};
    grabs_.emplace(ref.id, grab);
    return kHotKeyNoError;
}

void X11HotKeys::unregisterHotKey(HotKeyRef ref) {
    auto it = grabs_.find(ref.id);
    if (it == grabs_.end()) {
        return;
    }
    ungrab(it->second);
    connection_.flush();
    grabs_.erase(it);
}

void X11HotKeys::handle(const xcb_generic_event_t& event) {
    std::uint8_t type = event.response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return;
    }
    const auto& key = reinterpret_cast<const xcb_key_press_event_t&>(event);
    std::optional<HotKeyIdentity> identity;
    if (type == XCB_KEY_PRESS) {
        std::uint16_t modifiers = key.state & 0xff & ~kLockBits;
        for (const auto& [id, grab] : grabs_) {
            if (grab.keycode == key.detail && grab.modifiers == modifiers) {
                identity = grab.identity;
                down_[key.detail] = grab.identity;
            }
        }
    } else if (auto it = down_.find(key.detail); it != down_.end()) {
        // Matched by the key alone: the modifiers are often let go first.
        identity = it->second;
        down_.erase(it);
    }
    if (!identity) {
        return;
    }
    HotKeyEventKind kind =
        type == XCB_KEY_PRESS ? HotKeyEventKind::pressed : HotKeyEventKind::released;
    // Gathered first: a handler may end its subscription or unregister the key.
    std::vector<Handler> handlers;
    for (const auto& [id, handler] : handlers_) {
        handlers.push_back(handler);
    }
    for (const auto& handler : handlers) {
        handler(kind, *identity);
    }
}

}  // namespace nimbrel::x11
