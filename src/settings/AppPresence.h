#pragma once

#include <optional>
#include <string>

#include "platform/AppPresenceSource.h"
#include "platform/Workspace.h"

namespace nimbrel::AppPresence {

// Whether the application of a binding is gone from this machine: not running, and either unknown
// to the system, in the Trash, or without its files. Without a bundle identifier there is nothing
// to look for, so it is never missing.
bool isMissing(const std::optional<std::string>& bundleID, Workspace& workspace,
               AppPresenceSource& source);

}  // namespace nimbrel::AppPresence
