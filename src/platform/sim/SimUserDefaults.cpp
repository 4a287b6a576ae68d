#include "platform/sim/SimUserDefaults.h"

#include <cstdint>

#include <unicode/utf8.h>

#include "platform/StoredJson.h"

namespace nimbrel::sim {
namespace {

// Data as a JSON string. JSON has no way to write a byte that is not UTF-8, so each one in an
// ill-formed sequence shows as \xHH: the console can print anything a script or the program
// stored, and the reader sees which bytes they were.
std::string quotedData(std::string_view bytes) {
    std::string out = "\"";
    std::string run;
    auto flushRun = [&] {
        std::string text = Json(run).dump(-1, ' ', false, Json::error_handler_t::replace);
        out.append(text, 1, text.size() - 2);
        run.clear();
    };
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto length = static_cast<std::int32_t>(bytes.size());
    for (std::int32_t i = 0; i < length;) {
        std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(data, i, length, c);
        if (c >= 0) {
            run.append(bytes.substr(start, i - start));
            continue;
        }
        flushRun();
        for (std::int32_t b = start; b < i; ++b) {
            constexpr const char* kHex = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[data[b] >> 4];
            out += kHex[data[b] & 0xF];
        }
    }
    flushRun();
    return out + "\"";
}

}  // namespace

std::optional<std::string> SimUserDefaults::data(std::string_view key) {
    if (failing_) {
        return std::nullopt;
    }
    auto it = values_.find(key);
    if (it == values_.end()) {
        return std::nullopt;
    }
    if (const auto* d = std::get_if<Data>(&it->second)) {
        return d->bytes;
    }
    return std::nullopt;
}

void SimUserDefaults::setData(std::string_view key, const std::string& bytes) {
    if (!failing_) {
        values_.insert_or_assign(std::string(key), Data{bytes});
    }
}

std::optional<Json> SimUserDefaults::value(std::string_view key) {
    if (failing_) {
        return std::nullopt;
    }
    auto it = values_.find(key);
    if (it == values_.end()) {
        return std::nullopt;
    }
    if (const auto* j = std::get_if<Json>(&it->second)) {
        return *j;
    }
    return std::nullopt;
}

void SimUserDefaults::setValue(std::string_view key, const Json& value) {
    if (!failing_) {
        values_.insert_or_assign(std::string(key), value);
    }
}

void SimUserDefaults::remove(std::string_view key) {
    if (failing_) {
        return;
    }
    auto it = values_.find(key);
    if (it != values_.end()) {
        values_.erase(it);
    }
}

std::optional<std::string> SimUserDefaults::describe(std::string_view key) const {
    auto it = values_.find(key);
    if (it == values_.end()) {
        return std::nullopt;
    }
    if (const auto* d = std::get_if<Data>(&it->second)) {
        auto parsed = parseStoredJson(d->bytes);
        if (!parsed) {
            return quotedData(d->bytes);
        }
        return parsed->dump();
    }
    return std::get<Json>(it->second).dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace nimbrel::sim
