#include "platform/x11/DesktopEntries.h"

#include "platform/x11/UserFolders.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <set>

namespace nimbrel::x11 {
namespace {

namespace fs = std::filesystem;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start <= text.size()) {
        auto end = text.find(separator, start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            parts.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

// The keys of the [Desktop Entry] group the program needs; other groups and keys are skipped.
std::optional<DesktopEntry> readEntry(const fs::path& file, std::string id) {
    std::ifstream in(file);
    if (!in) {
        return std::nullopt;
    }
    DesktopEntry entry{std::move(id), {}, {}};
    bool inMainGroup = false;
    bool hidden = false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        auto equals = line.find('=');
        if (!inMainGroup || equals == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, equals);
        std::string value = line.substr(equals + 1);
        if (key == "Name") {
            entry.name = value;
        } else if (key == "StartupWMClass") {
            entry.startupWMClass = value;
        } else if (key == "Hidden" && value == "true") {
            hidden = true;
        }
    }
    if (hidden || entry.name.empty()) {
        return std::nullopt;
    }
    return entry;
}

}  // namespace

std::vector<fs::path> DesktopEntries::dataFolders() {
    std::vector<fs::path> folders;
    if (auto home = userDataFolder()) {
        folders.push_back(*home);
    }
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string list = dirs != nullptr && *dirs != '\0' ? dirs : "/usr/local/share:/usr/share";
    for (const auto& dir : split(list, ':')) {
        folders.emplace_back(dir);
    }
    return folders;
}

DesktopEntries::DesktopEntries(std::vector<fs::path> folders) : folders_(std::move(folders)) {
    reload();
}

void DesktopEntries::reload() {
    entries_.clear();
    // An entry in a more important folder hides one of the same id further down.
    std::set<std::string> seen;
    for (const auto& folder : folders_) {
        fs::path applications = folder / "applications";
        std::error_code error;
        for (fs::recursive_directory_iterator it(applications, error), end; !error && it != end;
             it.increment(error)) {
            if (it->path().extension() != ".desktop") {
                continue;
            }
            // Entries in subfolders have ids joined by '-' ("kde4-kate").
            std::string id =
                fs::relative(it->path(), applications, error).replace_extension().string();
            std::replace(id.begin(), id.end(), '/', '-');
            if (!seen.insert(id).second) {
                continue;
            }
            if (auto entry = readEntry(it->path(), id)) {
                entries_.push_back(std::move(*entry));
            }
        }
    }
}

std::optional<DesktopEntry> DesktopEntries::find(const std::string& instance,
                                                 const std::string& className) const {
    std::string wanted = lower(className);
    for (const auto& entry : entries_) {
        if (!entry.startupWMClass.empty() && lower(entry.startupWMClass) == wanted) {
            return entry;
        }
    }
    for (const std::string& name : {lower(className), lower(instance)}) {
        if (name.empty()) {
            continue;
        }
        for (const auto& entry : entries_) {
            std::string id = lower(entry.id);
            // Reverse-domain ids end in the application's own name: org.gnome.Calculator.
            auto dot = id.rfind('.');
            if (id == name || (dot != std::string::npos && id.substr(dot + 1) == name)) {
                return entry;
            }
        }
    }
    return std::nullopt;
}

}  // namespace nimbrel::x11
