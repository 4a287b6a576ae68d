#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nimbrel {

// The application's localised texts: a format for every key, in the user's language.
class StringTable {
  public:
    virtual ~StringTable() = default;
    virtual std::optional<std::string> format(std::string_view key) const = 0;
};

}  // namespace nimbrel
