#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nimbrel {

// Length of a UTF-8 text in user-perceived characters (an emoji with modifiers counts once).
std::size_t characterCount(std::string_view utf8);

// The text unchanged when it has at most `limit` user-perceived characters; otherwise its first
// `limit - 1` characters followed by "…", `limit` characters in all.
std::string truncatedWithEllipsis(std::string_view utf8, std::size_t limit);

}  // namespace nimbrel
