#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace nimbrel::x11 {

// An application as its desktop entry names it.
struct DesktopEntry {
    std::string id;  // the file's name without ".desktop": "org.gnome.Calculator"
    std::string name;
    std::string startupWMClass;
};

// The desktop entries of the XDG data folders, found by the window class an application's
// windows carry. Read once; entries installed later are found after `reload`.
class DesktopEntries {
  public:
    // The folders to search, the most important first ($XDG_DATA_HOME, then $XDG_DATA_DIRS).
    static std::vector<std::filesystem::path> dataFolders();

    explicit DesktopEntries(std::vector<std::filesystem::path> folders = dataFolders());
    void reload();

    // By StartupWMClass, else by an id that is the class or the instance (case aside).
    std::optional<DesktopEntry> find(const std::string& instance,
                                     const std::string& className) const;

  private:
    std::vector<std::filesystem::path> folders_;
    std::vector<DesktopEntry> entries_;
};

}  // namespace nimbrel::x11
