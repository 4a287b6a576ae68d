#include "platform/sim/SimAppPresence.h"

namespace nimbrel::sim {

std::optional<std::string> SimAppPresence::applicationPath(std::string_view bundleID) {
    auto it = locations_.find(bundleID);
    if (it == locations_.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool SimAppPresence::fileExists(std::string_view path) {
    return !failing_ && files_.find(path) != files_.end();
}

void SimAppPresence::install(const std::string& bundleID, const std::string& name) {
    installAt(bundleID, "/Applications/" + name + ".app");
}

void SimAppPresence::installAt(const std::string& bundleID, const std::string& path) {
    auto it = locations_.find(bundleID);
    if (it != locations_.end()) {
        files_.erase(it->second);
    }
    locations_.insert_or_assign(bundleID, path);
    files_.insert(path);
}

void SimAppPresence::trash(const std::string& bundleID) {
    auto it = locations_.find(bundleID);
    if (it == locations_.end()) {
        return;
    }
    std::string path = it->second;
    auto slash = path.find_last_of('/');
    std::string trashed = "/Users/user/.Trash/" + path.substr(slash + 1);
    files_.erase(path);
    files_.insert(trashed);
    it->second = trashed;
}

void SimAppPresence::deleteFiles(const std::string& bundleID) {
    auto it = locations_.find(bundleID);
    if (it != locations_.end()) {
        files_.erase(it->second);
    }
}

void SimAppPresence::forget(const std::string& bundleID) {
    auto it = locations_.find(bundleID);
    if (it != locations_.end()) {
        files_.erase(it->second);
        locations_.erase(it);
    }
}

}  // namespace nimbrel::sim
