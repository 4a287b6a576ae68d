#include "settings/AppPresence.h"

namespace nimbrel::AppPresence {

bool isMissing(const std::optional<std::string>& bundleID, Workspace& workspace,
               AppPresenceSource& source) {
    if (!bundleID || bundleID->empty()) {
        return false;
    }
    for (AppRef app : workspace.runningApplications()) {
        if (!workspace.isTerminated(app) && workspace.bundleIdentifier(app) == *bundleID) {
            return false;
        }
    }
    auto path = source.applicationPath(*bundleID);
    if (!path) {
        return true;
    }
    // A bundle in the Trash still exists, but the user has thrown it away.
    if (path->find("/.Trash/") != std::string::npos ||
        path->find("/.Trashes/") != std::string::npos) {
        return true;
    }
    return !source.fileExists(*path);
}

}  // namespace nimbrel::AppPresence
