#include "platform/x11/SessionEventFilter.h"

namespace nimbrel::x11 {
namespace {

// Sets `state` to `value`; whether that was a change.
bool change(bool& state, bool value) {
    bool changed = state != value;
    state = value;
    return changed;
}

}  // namespace

std::optional<SystemEvent> SessionEventFilter::take(Report report) {
    switch (report) {
        case Report::locked:
        case Report::unlocked: {
            lockReported_ = true;
            bool locked = report == Report::locked;
            if (!change(locked_, locked)) {
                return std::nullopt;
            }
            return locked ? SystemEvent::screenLocked : SystemEvent::screenUnlocked;
        }
        case Report::sleeping:
            return change(sleeping_, true) ? std::optional(SystemEvent::willSleep) : std::nullopt;
        case Report::awake:
            sleeping_ = false;
            return std::nullopt;
        case Report::poweringOff:
            return change(poweringOff_, true) ? std::optional(SystemEvent::willPowerOff)
                                              : std::nullopt;
        case Report::powerOffCancelled:
            poweringOff_ = false;
            return std::nullopt;
    }
    return std::nullopt;
}

void SessionEventFilter::lockedAtStart(bool locked) {
    if (!lockReported_) {
        locked_ = locked;
    }
}

}  // namespace nimbrel::x11
