#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nimbrel::text {

// White space and line ends removed at both ends (every Unicode white-space character).
std::string trimmed(std::string_view utf8);
// Only spaces and tabs removed at both ends.
std::string trimmedSpacesAndTabs(std::string_view utf8);
// Case mapping independent of the user's language: key names and key equivalents are not words.
std::string upperCased(std::string_view utf8);
std::string lowerCased(std::string_view utf8);

}  // namespace nimbrel::text
