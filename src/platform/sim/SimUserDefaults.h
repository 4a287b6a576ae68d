#pragma once

#include <map>
#include <string>
#include <variant>

#include "platform/UserDefaults.h"

namespace nimbrel::sim {

// User defaults kept by the desktop, so they outlive any one run of the program.
class SimUserDefaults final : public UserDefaults {
  public:
    std::optional<std::string> data(std::string_view key) override;
    void setData(std::string_view key, const std::string& bytes) override;
    std::optional<Json> value(std::string_view key) override;
    void setValue(std::string_view key, const Json& value) override;
    void remove(std::string_view key) override;

    // The stored value as compact JSON (data is shown as the JSON it holds, or as a string when it
    // holds none, with each byte that is not UTF-8 written \xHH); none when the key is absent.
    std::optional<std::string> describe(std::string_view key) const;
    bool contains(std::string_view key) const { return values_.find(key) != values_.end(); }
    // While on, writes are dropped and reads answer absent, as a failing defaults database would.
    void setFailing(bool failing) { failing_ = failing; }

  private:
    struct Data {
        std::string bytes;
    };
    std::map<std::string, std::variant<Data, Json>, std::less<>> values_;
    bool failing_ = false;
};

}  // namespace nimbrel::sim
