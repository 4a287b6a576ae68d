#include "settings/JsonValue.h"

#include <cmath>
#include <limits>

namespace nimbrel::json {

bool read(const Json& value, bool& out) {
    if (!value.is_boolean()) {
        return false;
    }
    out = value.get<bool>();
    return true;
}

bool read(const Json& value, long long& out) {
    if (value.is_number_unsigned()) {
        auto v = value.get<std::uint64_t>();
        if (v > static_cast<std::uint64_t>(std::numeric_limits<long long>::max())) {
            return false;
        }
        out = static_cast<long long>(v);
        return true;
    }
    if (value.is_number_integer()) {
        out = value.get<long long>();
        return true;
    }
    // Encoders that write every number as floating point still mean 5 by 5.0; 5.5 is no integer.
    if (value.is_number_float()) {
        double v = value.get<double>();
        if (std::isfinite(v) && v == std::trunc(v) && v >= -9.2e18 && v <= 9.2e18) {
            out = static_cast<long long>(v);
            return true;
        }
    }
    return false;
}

bool read(const Json& value, std::uint32_t& out) {
    long long v = 0;
    if (!read(value, v) || v < 0 || v > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    out = static_cast<std::uint32_t>(v);
    return true;
}

bool read(const Json& value, double& out) {
    if (!value.is_number()) {
        return false;
    }
    double v = value.get<double>();
    if (!std::isfinite(v)) {
        return false;
    }
    out = v;
    return true;
}

bool read(const Json& value, std::string& out) {
    if (!value.is_string()) {
        return false;
    }
    out = value.get<std::string>();
    return true;
}

bool isEncodable(const Json& value) {
    if (value.is_number_float()) {
        return std::isfinite(value.get<double>());
    }
    if (value.is_structured()) {
        for (const auto& element : value) {
            if (!isEncodable(element)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace nimbrel::json
