#include "platform/BundledStrings.h"

#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace nimbrel {

const std::vector<std::string_view>& englishStringTables();

BundledStrings::BundledStrings() {
    for (auto table : englishStringTables()) {
        // The tables are checked by the test suite; a broken one must not take the program down.
        auto json = nlohmann::json::parse(table, nullptr, false);
        if (!json.is_object()) {
            continue;
        }
        for (const auto& [key, value] : json.items()) {
            if (value.is_string()) {
                texts_.emplace(key, value.get<std::string>());
            }
        }
    }
}

std::optional<std::string> BundledStrings::format(std::string_view key) const {
    auto it = texts_.find(key);
    if (it == texts_.end()) {
        return std::nullopt;
    }
    return it->second;
}

}  // namespace nimbrel
