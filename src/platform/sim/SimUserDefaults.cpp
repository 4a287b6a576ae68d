#include "platform/sim/SimUserDefaults.h"

namespace nimbrel::sim {

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
        auto parsed = Json::parse(d->bytes, nullptr, false);
        if (parsed.is_discarded()) {
            return Json(d->bytes).dump();
        }
        return parsed.dump();
    }
    return std::get<Json>(it->second).dump();
}

}  // namespace nimbrel::sim
