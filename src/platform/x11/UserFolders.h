#pragma once

#include <filesystem>
#include <optional>

namespace nimbrel::x11 {

// The user's own base folders of the XDG layout: $XDG_CONFIG_HOME (else ~/.config) and
// $XDG_DATA_HOME (else ~/.local/share). A relative value is not a valid setting and is ignored, as
// the layout says; none when neither the variable nor HOME gives a folder.
std::optional<std::filesystem::path> userConfigFolder();
std::optional<std::filesystem::path> userDataFolder();

}  // namespace nimbrel::x11
