#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace nimbrel::keynames {

// The keys that have a fixed name of their own (Return, arrows, F1–F20 …), whatever the keyboard
// layout; none for every other key.
std::optional<std::string_view> fixedName(std::uint32_t keyCode);
bool isFunctionKey(std::uint32_t keyCode);

inline constexpr std::uint32_t kDelete = 51;
inline constexpr std::uint32_t kForwardDelete = 117;
inline constexpr std::uint32_t kEscape = 53;

}  // namespace nimbrel::keynames
