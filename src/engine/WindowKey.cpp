#include "engine/WindowKey.h"

#include <cstdint>
#include <limits>

namespace nimbrel {

Json WindowKey::toJson() const {
    Json json = Json::object();
    json["pid"] = pid;
    if (bundleID) {
        json["bundleID"] = *bundleID;
    }
    json["number"] = number;
    return json;
}

std::optional<WindowKey> WindowKey::fromJson(const Json& json) {
    if (!json.is_object()) {
        return std::nullopt;
    }
    auto pid = json.find("pid");
    auto number = json.find("number");
    if (pid == json.end() || number == json.end() || !pid->is_number_integer() ||
        !number->is_number_integer()) {
        return std::nullopt;
    }
    // Read as unsigned, a number above the signed 64-bit range would wrap into a small pid.
    if (pid->is_number_unsigned() &&
        pid->get<std::uint64_t>() > std::uint64_t(std::numeric_limits<Pid>::max())) {
        return std::nullopt;
    }
    auto pidValue = pid->get<std::int64_t>();
    if (pidValue < std::numeric_limits<Pid>::min() || pidValue > std::numeric_limits<Pid>::max()) {
        return std::nullopt;
    }
    // Unsigned 32-bit: a negative or larger number is not a window number.
    if (number->is_number_unsigned() ? number->get<std::uint64_t>() > 0xFFFFFFFFull
                                     : number->get<std::int64_t>() < 0) {
        return std::nullopt;
    }
    WindowKey key;
    key.pid = static_cast<Pid>(pidValue);
    key.number = static_cast<WindowNumber>(number->get<std::uint64_t>());
    if (auto bundle = json.find("bundleID"); bundle != json.end()) {
        if (!bundle->is_string()) {
            return std::nullopt;
        }
        key.bundleID = bundle->get<std::string>();
    }
    return key;
}

}  // namespace nimbrel
