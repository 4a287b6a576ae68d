#include "protection/PasswordRecord.h"

#include <cmath>
#include <limits>

#include "platform/StoredJson.h"
#include "protection/AppPassword.h"
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

bool PasswordRecord::isWellFormed() const {
    return salt.size() == AppPassword::kSaltLength && hash.size() == AppPassword::kHashLength &&
           rounds >= AppPassword::kMinimumRounds && rounds <= AppPassword::kMaximumRounds &&
           failures >= 0;
}

std::optional<std::string> PasswordRecord::encoded() const {
    if (!isWellFormed()) {
        return std::nullopt;
    }
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
    auto parsed = parseStoredJson(text);
    if (!parsed || !parsed->is_object()) {
        return std::nullopt;
    }
    const Json& json = *parsed;
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
    if (!record.isWellFormed()) {
        return std::nullopt;
    }
    return record;
}

}  // namespace nimbrel
