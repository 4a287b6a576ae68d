#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Handles.h"
#include "platform/KeyEventMonitor.h"

namespace nimbrel::sim {

class SimEventLog;
class SimHotKeys;
class SimKeyMonitor;
class SimPanels;
class SimWorld;

// One key going down or up on the simulated keyboard.
struct SimKeyStroke {
    std::uint32_t keyCode = 0;
    // The hot-key service's mask: command 0x100, shift 0x200, option 0x800, control 0x1000.
    std::uint32_t modifiers = 0;
    EventModifierFlags eventFlags = 0;
    bool down = true;
};

// Who received a key event.
enum class SimKeyTarget {
    tap,      // the program's keyboard event tap swallowed it
    hotKey,   // a registered global hot key of the program
    holder,   // a global hot key another application holds
    system,   // the system's own lock-screen shortcut
    panel,    // the program's key panel
    program,  // a local key monitor of the program (its key window)
    app,      // the frontmost application
    nobody,   // no application is frontmost
};

struct SimKeyDelivery {
    SimKeyStroke stroke;
    SimKeyTarget target = SimKeyTarget::nobody;
    Pid pid = 0;  // the receiving application, for SimKeyTarget::app
};

// The keyboard of the simulated desktop: it routes each key event as the window server does.
// In order: the program's keyboard event tap, the global hot-key service, the system's
// lock-screen shortcut (Control-Command-Q, which locks the screen), then the key window: the
// program's when it has one (its local key monitors first, then its key panel), else the
// frontmost application.
class SimKeyboard {
  public:
    // Answers true to swallow the event; nothing further sees it.
    using Tap = std::function<bool(const SimKeyStroke& stroke)>;

    static constexpr std::uint32_t kLockKeyCode = 12;  // Q
    static constexpr std::uint32_t kLockModifiers = 0x1000 | 0x100;

    SimKeyboard(SimWorld& world, SimEventLog& events, SimHotKeys& hotKeys, SimKeyMonitor& monitors,
                SimPanels& panels);
    SimKeyboard(const SimKeyboard&) = delete;
    SimKeyboard& operator=(const SimKeyboard&) = delete;

    // Every key down counts as input, whoever receives it.
    SimKeyDelivery keyDown(std::uint32_t keyCode, std::uint32_t modifiers,
                           EventModifierFlags eventFlags);
    SimKeyDelivery keyUp(std::uint32_t keyCode, std::uint32_t modifiers,
                         EventModifierFlags eventFlags);

    // The program's keyboard event tap; none by default and once the process ends.
    void setTap(Tap tap) { tap_ = std::move(tap); }
    bool hasTap() const { return static_cast<bool>(tap_); }
    // The most recent key event and where it went.
    const std::optional<SimKeyDelivery>& lastDelivery() const { return last_; }
    std::size_t keyDownCount() const { return downs_; }

    static std::string targetName(SimKeyTarget target);

  private:
    SimKeyDelivery route(const SimKeyStroke& stroke);
    SimKeyDelivery routeToKeyWindow(const SimKeyStroke& stroke);

    SimWorld& world_;
    SimEventLog& events_;
    SimHotKeys& hotKeys_;
    SimKeyMonitor& monitors_;
    SimPanels& panels_;
    Tap tap_;
    std::optional<SimKeyDelivery> last_;
    std::size_t downs_ = 0;
};

}  // namespace nimbrel::sim
