#pragma once

#include <string>
#include <variant>
#include <vector>

#include "platform/StringKey.h"
#include "platform/StringTable.h"

namespace nimbrel {

using StringArg = std::variant<std::string, long long>;

// Turns a key and its arguments into the user's text. Formats take %@ for a string and %ld (or %d)
// for an integer, optionally positional (%2$@); %% is a percent sign. Without a table the texts are
// the pseudo-language that shows keys: {key|arg|arg}.
class Localizer {
  public:
    explicit Localizer(const StringTable* table) : table_(table) {}

    std::string text(StringKey key, const std::vector<StringArg>& args = {}) const;
    bool showsKeys() const { return table_ == nullptr; }

    // Fills a format as the tables' texts are filled; exposed for the tables' own checks.
    static std::string fill(std::string_view format, const std::vector<StringArg>& args);

  private:
    const StringTable* table_;
};

}  // namespace nimbrel
