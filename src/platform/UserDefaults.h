#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace nimbrel {

using Json = nlohmann::ordered_json;

// The user's persistent key-value store. Values are either opaque data (the program keeps its JSON
// documents as data) or plain property-list values, which travel as JSON. A failure reads as
// absent.
class UserDefaults {
  public:
    virtual ~UserDefaults() = default;
    virtual std::optional<std::string> data(std::string_view key) = 0;
    virtual void setData(std::string_view key, const std::string& bytes) = 0;
    virtual std::optional<Json> value(std::string_view key) = 0;
    virtual void setValue(std::string_view key, const Json& value) = 0;
    virtual void remove(std::string_view key) = 0;
};

}  // namespace nimbrel
