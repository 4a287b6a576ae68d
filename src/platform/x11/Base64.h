#pragma once

#include <optional>
#include <string>

namespace nimbrel::x11 {

// Standard base64 with padding, for bytes kept inside the JSON files of the stores.
std::string toBase64(const std::string& bytes);
// None for text that is not such an encoding.
std::optional<std::string> fromBase64(const std::string& text);

}  // namespace nimbrel::x11
