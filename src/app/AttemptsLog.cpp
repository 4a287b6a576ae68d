#include "app/AttemptsLog.h"

#include <cmath>

#include "platform/StoredJson.h"

namespace nimbrel {
namespace {

const char* rawValue(AttemptReason reason) {
    return reason == AttemptReason::authFailed ? "authFailed" : "blockedWithoutAuth";
}

std::optional<AttemptReason> reasonFrom(const std::string& raw) {
    if (raw == "authFailed") {
        return AttemptReason::authFailed;
    }
    if (raw == "blockedWithoutAuth") {
        return AttemptReason::blockedWithoutAuth;
    }
    return std::nullopt;
}

std::optional<Attempt> attemptFrom(const Json& json) {
    if (!json.is_object()) {
        return std::nullopt;
    }
    auto date = json.find("date");
    auto label = json.find("label");
    auto reason = json.find("reason");
    if (date == json.end() || !date->is_number() || label == json.end() || !label->is_string() ||
        reason == json.end() || !reason->is_string()) {
        return std::nullopt;
    }
    auto why = reasonFrom(reason->get<std::string>());
    double when = date->get<double>();
    if (!why || !std::isfinite(when)) {
        return std::nullopt;
    }
    return Attempt{when, label->get<std::string>(), *why};
}

}  // namespace

AttemptsLog::AttemptsLog(UserDefaults& defaults) : defaults_(defaults) {
    load();
}

void AttemptsLog::load() {
    auto bytes = defaults_.data(kDefaultsKey);
    if (!bytes) {
        return;
    }
    auto json = parseStoredJson(*bytes);
    if (!json || !json->is_array()) {
        return;
    }
    std::vector<Attempt> entries;
    for (const auto& item : *json) {
        auto attempt = attemptFrom(item);
        // One entry the program could not have written makes the whole log unreadable.
        if (!attempt) {
            return;
        }
        entries.push_back(std::move(*attempt));
    }
    if (entries.size() > kMaxEntries) {
        entries.erase(entries.begin(),
                      entries.begin() + static_cast<std::ptrdiff_t>(entries.size() - kMaxEntries));
    }
    entries_ = std::move(entries);
}

void AttemptsLog::save() {
    Json list = Json::array();
    for (const auto& attempt : entries_) {
        Json entry = Json::object();
        entry["date"] = attempt.date;
        entry["label"] = attempt.label;
        entry["reason"] = rawValue(attempt.reason);
        list.push_back(std::move(entry));
    }
    std::string bytes;
    try {
        bytes = list.dump();
    } catch (const Json::exception&) {
        // A label that is not valid text cannot be written; the stored log stays as it was.
        return;
    }
    defaults_.setData(kDefaultsKey, bytes);
}

void AttemptsLog::record(TimePoint date, const std::string& label, AttemptReason reason) {
    entries_.push_back({date, label, reason});
    if (entries_.size() > kMaxEntries) {
        entries_.erase(entries_.begin());
    }
    save();
}

void AttemptsLog::clear() {
    entries_.clear();
    save();
}

std::string AttemptsLog::reasonText(const Localizer& strings, AttemptReason reason) {
    return strings.text(reason == AttemptReason::authFailed
                            ? "attempt.reason.authFailed"_key
                            : "attempt.reason.blockedWithoutAuth"_key);
}

}  // namespace nimbrel
