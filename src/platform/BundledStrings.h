#pragma once

#include <map>
#include <string>

#include "platform/StringTable.h"

namespace nimbrel {

// The English texts shipped inside the program (resources/strings/en, embedded at build time).
class BundledStrings final : public StringTable {
  public:
    BundledStrings();
    std::optional<std::string> format(std::string_view key) const override;
    const std::map<std::string, std::string, std::less<>>& all() const { return texts_; }

  private:
    std::map<std::string, std::string, std::less<>> texts_;
};

}  // namespace nimbrel
