#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "protection/Bytes.h"

namespace nimbrel {

// Standard Base64 (RFC 4648 alphabet, with padding), as the stored record writes salt and hash.
std::string base64Encode(const Bytes& bytes);
// Strict: any character outside the alphabet, a missing padding or stray bits make it fail.
std::optional<Bytes> base64Decode(std::string_view text);

}  // namespace nimbrel
