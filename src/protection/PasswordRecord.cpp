#include "protection/PasswordRecord.h"

#include <cmath>
#include <limits>

#include "platform/UserDefaults.h"
#include "protection/Base64.h"

namespace nimbrel {
namespace {

std::optional<Bytes> bytesAt(const Json& json, const char* key) {
    auto it = json.find(key);
    if (it == json.end() || !it->is_string()) {
        return std::nullopt;
    }
    return base64Decode(it->get_ref<const std::string&>());
}

std::optional<std::int64_t> integerAt(const Json& json, const char* key) {
    auto it = json.find(key);
    if (it == json.end() || !it->is_number_integer()) {
        return std::nullopt;
    }
    if (it->is_number_unsigned() &&
        it->get<std::uint64_t>() > std::uint64_t(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    return it->get<std::int64_t>();
}

}  // namespace

std::optional<std::string> PasswordRecord::encoded() const {
    Json json = Json::object();
    json["salt"] = base64Encode(salt);
    json["hash"] = base64Encode(hash);
    json["rounds"] = rounds;
    json["failures"] = failures;
    if (lockedUntil) {
        // JSON has no infinities; writing one as null would read back as "no lock-out".
        if (!std::isfinite(*lockedUntil)) {
            return std::nullopt;
        }
        json["lockedUntil"] = *lockedUntil;
    }
    return json.dump();
}

std::optional<PasswordRecord> PasswordRecord::decoded(std::string_view text) {
    auto json = Json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        return std::nullopt;
    }
    PasswordRecord record;
    auto salt = bytesAt(json, "salt");
    auto hash = bytesAt(json, "hash");
    auto rounds = integerAt(json, "rounds");
    auto failures = integerAt(json, "failures");
    if (!salt || !hash || !rounds || !failures) {
        return std::nullopt;
    }
    record.salt = std::move(*salt);
    record.hash = std::move(*hash);
    record.rounds = *rounds;
    record.failures = *failures;
    if (auto it = json.find("lockedUntil"); it != json.end() && !it->is_null()) {
        if (!it->is_number()) {
            return std::nullopt;
        }
        record.lockedUntil = it->get<double>();
    }
    return record;
}

}  // namespace nimbrel
