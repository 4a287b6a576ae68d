#pragma once

#include "platform/Keychain.h"

namespace nimbrel::x11 {

// A keychain kept by a service of the session, which may be missing, or locked, at any moment.
class ServiceKeychain : public Keychain {
  public:
    enum class State {
        usable,       // the service answers and its default collection is unlocked
        locked,       // it answers, but using it would mean asking the user to unlock it
        unavailable,  // no service, no default collection, or the bus itself fails
    };
    // Asks the service afresh, never the user.
    virtual State state() = 0;
};

}  // namespace nimbrel::x11
