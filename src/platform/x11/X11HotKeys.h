#pragma once

#include <map>
#include <optional>

#include "platform/HotKeyService.h"
#include "platform/x11/EventHub.h"

namespace nimbrel::x11 {

// Global hot keys as passive grabs of the key on the root window, one for each state of the
// lock keys (Caps Lock, Num Lock) so that they do not change what a combination is. A grab another
// client holds is a refusal (kHotKeyExistsError), and the grabs made so far are undone. With the
// keyboard's detectable auto-repeat a held key gives repeated presses and one release, as the
// program expects.
class X11HotKeys final : public HotKeyService {
  public:
    X11HotKeys(Connection& connection, EventHub& events);
    ~X11HotKeys() override;
    X11HotKeys(const X11HotKeys&) = delete;
    X11HotKeys& operator=(const X11HotKeys&) = delete;

    Subscription installHandler(Handler handler) override;
    HotKeyStatus registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                HotKeyIdentity identity, HotKeyRef& ref) override;
    void unregisterHotKey(HotKeyRef ref) override;

  private:
    struct Grab {
        xcb_keycode_t keycode = 0;
        std::uint16_t modifiers = 0;
        HotKeyIdentity identity;
    };
    void handle(const xcb_generic_event_t& event);
    void ungrab(const Grab& grab);

    Connection& connection_;
    std::map<std::uint64_t, Grab> grabs_;
    std::uint64_t nextRef_ = 1;
    // The identity each held key was pressed as, for its release.
    std::map<xcb_keycode_t, HotKeyIdentity> down_;
    std::map<std::uint64_t, Handler> handlers_;
    std::uint64_t nextHandler_ = 1;
    Subscription subscription_;
};

}  // namespace nimbrel::x11
