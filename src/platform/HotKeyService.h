#pragma once

#include <cstdint>
#include <functional>

#include "platform/Subscription.h"

namespace nimbrel {

// What the program hands the system with each hot key and gets back with each of its events: a
// four-character signature and an id of the program's choosing.
struct HotKeyIdentity {
    std::uint32_t signature = 0;
    std::uint32_t id = 0;
    friend bool operator==(const HotKeyIdentity&, const HotKeyIdentity&) = default;
};

// One registration with the system; 0 is never issued.
struct HotKeyRef {
    std::uint64_t id = 0;
    explicit operator bool() const { return id != 0; }
    friend bool operator==(const HotKeyRef&, const HotKeyRef&) = default;
};

enum class HotKeyEventKind { pressed, released };

// The answer of a registration: 0 is success; anything else is the system's refusal.
using HotKeyStatus = std::int32_t;
inline constexpr HotKeyStatus kHotKeyNoError = 0;
// The combination is already held, by this program or by another application.
inline constexpr HotKeyStatus kHotKeyExistsError = -9878;
inline constexpr HotKeyStatus kHotKeyInvalidError = -9879;

// System-wide key combinations that reach the program whichever application is in front. A key
// code is the keyboard's virtual key code; modifiers are the mask command 0x100, shift 0x200,
// option 0x800, control 0x1000.
class HotKeyService {
  public:
    using Handler = std::function<void(HotKeyEventKind kind, HotKeyIdentity identity)>;

    virtual ~HotKeyService() = default;

    // Pressed and released events of every hot key of the program, delivered on the main loop.
    // While the key is held the system may repeat the pressed event (keyboard auto-repeat).
    // The handler runs until the subscription ends.
    virtual Subscription installHandler(Handler handler) = 0;
    // On success `ref` names the registration; on refusal it is left null.
    virtual HotKeyStatus registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                        HotKeyIdentity identity, HotKeyRef& ref) = 0;
    // Unknown or already removed registrations are ignored.
    virtual void unregisterHotKey(HotKeyRef ref) = 0;
};

}  // namespace nimbrel
