#pragma once

#include <filesystem>
#include <vector>

#include "platform/AppPresenceSource.h"
#include "platform/x11/DesktopEntries.h"

namespace nimbrel::x11 {

// An installed application is its desktop entry: the identifier names the entry's file, and the
// entry's path stands for the application on disk.
class X11AppPresence final : public AppPresenceSource {
  public:
    explicit X11AppPresence(
        std::vector<std::filesystem::path> folders = DesktopEntries::dataFolders())
        : folders_(std::move(folders)) {}

    std::optional<std::string> applicationPath(std::string_view bundleID) override {
        // An identifier is a file name, never a path that could reach outside the folders.
        if (bundleID.empty() || bundleID.find('/') != std::string_view::npos || bundleID == "." ||
            bundleID == "..") {
            return std::nullopt;
        }
        for (const auto& folder : folders_) {
            auto path = folder / "applications" / (std::string(bundleID) + ".desktop");
            if (fileExists(path.string())) {
                return path.string();
            }
        }
        return std::nullopt;
    }

    bool fileExists(std::string_view path) override {
        std::error_code error;
        return std::filesystem::exists(std::filesystem::path(path), error) && !error;
    }

  private:
    std::vector<std::filesystem::path> folders_;
};

}  // namespace nimbrel::x11
