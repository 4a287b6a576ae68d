#pragma once

#include <cstdint>
#include <string>

namespace nimbrel {

// The user's current ASCII-capable keyboard layout.
class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;
    // The text the key produces with no modifier held (at most four UTF-16 units, as UTF-8); empty
    // when the layout gives it none or cannot be read.
    virtual std::string characters(std::uint32_t keyCode) = 0;
};

}  // namespace nimbrel
