#include "platform/sim/SimKeyboard.h"

#include "platform/sim/SimEventLog.h"
#include "platform/sim/SimHotKeys.h"
#include "platform/sim/SimKeyMonitor.h"
#include "platform/sim/SimPanels.h"
#include "platform/sim/SimWorld.h"

namespace nimbrel::sim {

SimKeyboard::SimKeyboard(SimWorld& world, SimEventLog& events, SimHotKeys& hotKeys,
                         SimKeyMonitor& monitors, SimPanels& panels)
    : world_(world), events_(events), hotKeys_(hotKeys), monitors_(monitors), panels_(panels) {}

SimKeyDelivery SimKeyboard::keyDown(std::uint32_t keyCode, std::uint32_t modifiers,
                                    EventModifierFlags eventFlags) {
    // The idle clock counts the hardware event, before anyone can swallow it.
    world_.recordInput(InputEventType::keyDown);
    ++downs_;
    return route(SimKeyStroke{keyCode, modifiers, eventFlags, true});
}

SimKeyDelivery SimKeyboard::keyUp(std::uint32_t keyCode, std::uint32_t modifiers,
                                  EventModifierFlags eventFlags) {
    return route(SimKeyStroke{keyCode, modifiers, eventFlags, false});
}

SimKeyDelivery SimKeyboard::route(const SimKeyStroke& stroke) {
    SimKeyDelivery delivery{stroke, SimKeyTarget::nobody, 0};
    // A copy: the tap may switch itself off while it runs.
    if (Tap tap = tap_; tap && tap(stroke)) {
        delivery.target = SimKeyTarget::tap;
    } else if (stroke.down ? hotKeys_.keyDown(stroke.keyCode, stroke.modifiers)
                           : hotKeys_.keyUp(stroke.keyCode, stroke.modifiers)) {
        delivery.target = SimKeyTarget::hotKey;
    } else if (hotKeys_.isTaken(stroke.keyCode, stroke.modifiers)) {
        // The global hot-key service hands it to the application that holds it, and no further.
        delivery.target = SimKeyTarget::holder;
    } else if (stroke.keyCode == kLockKeyCode && stroke.modifiers == kLockModifiers) {
        // The system's own shortcut acts on the key down; no window sees either half.
        delivery.target = SimKeyTarget::system;
        if (stroke.down) {
            events_.emit("screen locked by keys");
            world_.systemHandlers().post(SystemEvent::screenLocked);
        }
    } else {
        delivery = routeToKeyWindow(stroke);
    }
    last_ = delivery;
    return delivery;
}

SimKeyDelivery SimKeyboard::routeToKeyWindow(const SimKeyStroke& stroke) {
    SimKeyDelivery delivery{stroke, SimKeyTarget::nobody, 0};
    bool panelIsKey = panels_.keyPanel().has_value();
    // The settings window records shortcuts through a local monitor, installed only while it
    // records: the program's window is key for as long as the monitor is there.
    bool programIsKey = panelIsKey || monitors_.monitorCount() > 0;
    if (programIsKey) {
        delivery.target = panelIsKey ? SimKeyTarget::panel : SimKeyTarget::program;
        // Only key downs reach local monitors and panels. The monitors see the event before the
        // window does, and an event one of them consumes goes no further.
        if (!stroke.down) {
            return delivery;
        }
        if (monitors_.deliverKeyDown(KeyEvent{stroke.keyCode, stroke.eventFlags, false})) {
            delivery.target = SimKeyTarget::program;
        } else if (panelIsKey) {
            panels_.keyDown(static_cast<std::uint16_t>(stroke.keyCode));
        }
        return delivery;
    }
    if (auto front = world_.frontmost()) {
        if (const SimApp* app = world_.app(*front)) {
            delivery.target = SimKeyTarget::app;
            delivery.pid = app->pid;
        }
    }
    return delivery;
}

std::string SimKeyboard::targetName(SimKeyTarget target) {
    switch (target) {
        case SimKeyTarget::tap:
            return "tap";
        case SimKeyTarget::hotKey:
            return "hotkey";
        case SimKeyTarget::holder:
            return "holder";
        case SimKeyTarget::system:
            return "system";
        case SimKeyTarget::panel:
            return "panel";
        case SimKeyTarget::program:
            return "program";
        case SimKeyTarget::app:
            return "app";
        case SimKeyTarget::nobody:
            break;
    }
    return "none";
}

}  // namespace nimbrel::sim
