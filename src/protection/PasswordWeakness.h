#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace nimbrel {

enum class PasswordWeakness { tooShort, tooCommon };

// The fewest user-perceived characters a new password may have.
inline constexpr std::size_t kMinimumPasswordLength = 8;

// Why a new password is refused, or none. Lengths count user-perceived characters.
std::optional<PasswordWeakness> passwordWeakness(std::string_view candidate);

// The passwords refused as too common, in lowercase.
const std::vector<std::string_view>& commonPasswords();

}  // namespace nimbrel
