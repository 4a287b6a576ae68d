#pragma once

#include <cstdint>
#include <vector>

namespace nimbrel {

// Raw bytes of a salt, a hash or a random draw.
using Bytes = std::vector<std::uint8_t>;

}  // namespace nimbrel
