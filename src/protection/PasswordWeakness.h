#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace nimbrel {

enum class PasswordWeakness { tooShort, tooCommon };

// Why a new password is refused, or none. Lengths count user-perceived characters.
std::optional<PasswordWeakness> passwordWeakness(std::string_view candidate);

// The passwords refused as too common, in lowercase.
const std::vector<std::string_view>& commonPasswords();

}  // namespace nimbrel
