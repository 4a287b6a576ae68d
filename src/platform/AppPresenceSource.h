#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nimbrel {

// Where installed applications live on disk, as the system's application registry knows them.
class AppPresenceSource {
  public:
    virtual ~AppPresenceSource() = default;
    // The path of the application bundle registered for this bundle identifier; none when the
    // system knows no such application.
    virtual std::optional<std::string> applicationPath(std::string_view bundleID) = 0;
    // False on any file-system error.
    virtual bool fileExists(std::string_view path) = 0;
};

}  // namespace nimbrel
