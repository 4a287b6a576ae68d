#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/UserDefaults.h"

namespace nimbrel::json {

// Strict readers of one JSON value: each answers false, leaving `out` alone, when the value is not
// of the expected type. Integers may be written as integral numbers (5 or 5.0); numbers must be
// finite.
bool read(const Json& value, bool& out);
bool read(const Json& value, long long& out);
bool read(const Json& value, std::uint32_t& out);
bool read(const Json& value, double& out);
bool read(const Json& value, std::string& out);

// Records read themselves with a static fromJson.
template <typename Record>
requires requires(const Json& j) {
    { Record::fromJson(j) } -> std::same_as<std::optional<Record>>;
}
bool read(const Json& value, Record& out) {
    auto record = Record::fromJson(value);
    if (!record) {
        return false;
    }
    out = std::move(*record);
    return true;
}

// A stored enumeration is its raw value; next to each enumeration, `fromRaw(E, long long)` says
// what a raw value means, unknown ones included.
template <typename E>
requires std::is_enum_v<E>
bool read(const Json& value, E& out) {
    long long raw = 0;
    if (!read(value, raw)) {
        return false;
    }
    out = fromRaw(E{}, raw);
    return true;
}

// JSON null reads as none.
template <typename T>
bool read(const Json& value, std::optional<T>& out) {
    if (value.is_null()) {
        out.reset();
        return true;
    }
    T inner{};
    if (!read(value, inner)) {
        return false;
    }
    out = std::move(inner);
    return true;
}

template <typename T>
bool read(const Json& value, std::vector<T>& out) {
    if (!value.is_array()) {
        return false;
    }
    std::vector<T> items;
    items.reserve(value.size());
    for (const auto& element : value) {
        T item{};
        if (!read(element, item)) {
            return false;
        }
        items.push_back(std::move(item));
    }
    out = std::move(items);
    return true;
}

// A key of an object: a missing key leaves `out` alone and succeeds only when `required` is false.
template <typename T>
bool readKey(const Json& object, const char* key, T& out, bool required) {
    auto it = object.find(key);
    if (it == object.end()) {
        return !required;
    }
    return read(*it, out);
}

inline Json write(bool value) {
    return value;
}
inline Json write(long long value) {
    return value;
}
inline Json write(std::uint32_t value) {
    return value;
}
inline Json write(double value) {
    return value;
}
inline Json write(const std::string& value) {
    return value;
}

template <typename E>
requires std::is_enum_v<E> Json write(E value) {
    return static_cast<long long>(value);
}

template <typename Record>
requires requires(const Record& r) {
    { r.toJson() } -> std::same_as<Json>;
}
Json write(const Record& record) {
    return record.toJson();
}

template <typename T>
Json write(const std::optional<T>& value) {
    return value ? write(*value) : Json(nullptr);
}

template <typename T>
Json write(const std::vector<T>& values) {
    Json array = Json::array();
    for (const auto& value : values) {
        array.push_back(write(value));
    }
    return array;
}

// True when every number inside is finite: a document with an infinity or NaN cannot be written
// as JSON without changing its meaning.
bool isEncodable(const Json& value);

}  // namespace nimbrel::json
