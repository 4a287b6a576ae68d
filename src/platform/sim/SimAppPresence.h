#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/AppPresenceSource.h"

namespace nimbrel::sim {

// The applications installed on the simulated disk. A script installs an application at a path,
// moves it to the Trash, deletes its files, or makes the system forget it altogether.
class SimAppPresence final : public AppPresenceSource {
  public:
    std::optional<std::string> applicationPath(std::string_view bundleID) override;
    bool fileExists(std::string_view path) override;

    // Default path: /Applications/NAME.app.
    void install(const std::string& bundleID, const std::string& name);
    void installAt(const std::string& bundleID, const std::string& path);
    // The bundle moves into the user's Trash; the system still knows where it is.
    void trash(const std::string& bundleID);
    // The files go; the system's registry still remembers the old location.
    void deleteFiles(const std::string& bundleID);
    // The system no longer knows the application at all.
    void forget(const std::string& bundleID);
    // While on, every file-system query fails.
    void setFailing(bool failing) { failing_ = failing; }

  private:
    std::map<std::string, std::string, std::less<>> locations_;
    std::set<std::string, std::less<>> files_;
    bool failing_ = false;
};

}  // namespace nimbrel::sim
