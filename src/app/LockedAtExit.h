#pragma once

#include <optional>
#include <vector>

#include "engine/WindowKey.h"
#include "platform/UserDefaults.h"

namespace nimbrel {

// The windows that were locked when the session ended the process. They stay parked; the next
// start must adopt them locked again, or restarting the program would open every lock that no
// designation names.
struct LockedAtExit {
    std::vector<WindowKey> windows;

    // Stores nothing for an empty list.
    void save(UserDefaults& defaults) const;
    // Reads and deletes the record; an undecodable one is an empty list.
    static LockedAtExit take(UserDefaults& defaults);
};

}  // namespace nimbrel
