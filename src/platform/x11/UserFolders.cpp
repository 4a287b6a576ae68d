#include "platform/x11/UserFolders.h"

#include <cstdlib>

namespace nimbrel::x11 {
namespace {

std::optional<std::filesystem::path> userFolder(const char* variable,
                                                const std::filesystem::path& underHome) {
    if (const char* value = std::getenv(variable); value != nullptr && *value == '/') {
        return std::filesystem::path(value);
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        return std::filesystem::path(home) / underHome;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> userConfigFolder() {
    return userFolder("XDG_CONFIG_HOME", ".config");
}

std::optional<std::filesystem::path> userDataFolder() {
    return userFolder("XDG_DATA_HOME", std::filesystem::path(".local") / "share");
}

}  // namespace nimbrel::x11
