#pragma once

#include <string_view>

namespace nimbrel {

// A key of the string tables. Keys are written as literals with the _key suffix so that a test can
// find every key the code uses and check that it has an English text.
struct StringKey {
    std::string_view name;
};

inline namespace literals {
constexpr StringKey operator""_key(const char* text, std::size_t length) {
    return StringKey{std::string_view(text, length)};
}
}  // namespace literals

}  // namespace nimbrel
