#include "protection/AppPassword.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <openssl/crypto.h>

namespace nimbrel {
namespace {

Bytes bytesOf(const std::string& data) {
    return Bytes(data.begin(), data.end());
}

// Compares all bytes whatever they hold, so the time taken tells nothing about where a guess
// went wrong.
bool sameHash(const Bytes& derived, const Bytes& stored) {
    return derived.size() == stored.size() &&
           CRYPTO_memcmp(derived.data(), stored.data(), derived.size()) == 0;
}

}  // namespace

bool AppPassword::flagIsSet() {
    auto flag = defaults_.value(kFlagKey);
    if (!flag) {
        return false;
    }
    if (flag->is_boolean()) {
        return flag->get<bool>();
    }
    return flag->is_number() && flag->get<double>() != 0;
}

std::optional<AppPassword::Record> AppPassword::makeRecord(std::string_view password,
                                                           std::int64_t rounds) {
    Record record;
    record.salt.assign(kSaltLength, 0);
    record.hash.assign(kHashLength, 0);
    // A salt that was not drawn, or a hash that was not derived, would be a record anyone could
    // predict, or that no password opens.
    if (!crypto_.randomBytes(record.salt) ||
        !crypto_.deriveKey(password, record.salt, rounds, record.hash)) {
        return std::nullopt;
    }
    record.rounds = rounds;
    return record;
}

void AppPassword::migrateLegacy() {
    auto salt = defaults_.data(kLegacySaltKey);
    auto hash = defaults_.data(kLegacyHashKey);
    if (!salt || !hash) {
        return;
    }
    if (!storage_.load()) {
        storage_.save(Record{bytesOf(*salt), bytesOf(*hash), kLegacyRounds, 0, std::nullopt});
    }
    // The legacy keys go only once the record is really stored; otherwise the next call retries.
    if (storage_.load()) {
        defaults_.setValue(kFlagKey, true);
        defaults_.remove(kLegacySaltKey);
        defaults_.remove(kLegacyHashKey);
    }
}

AppPassword::Status AppPassword::status() {
    migrateLegacy();
    if (storage_.load()) {
        return Status::set;
    }
    return flagIsSet() ? Status::missing : Status::none;
}

bool AppPassword::set(std::string_view password) {
    auto record = makeRecord(password, kCurrentRounds);
    if (!record) {
        return false;
    }
    storage_.save(*record);
    // The storage does not say whether it kept the record; reading it back tells a refused save
    // from a stored one, so that the old password, or none, is not left in force unnoticed.
    if (storage_.load() != record) {
        return false;
    }
    defaults_.setValue(kFlagKey, true);
    return true;
}

bool AppPassword::clear() {
    // A record that stays in the keychain keeps the flag too, so the password is still asked for
    // and the failure is reported, instead of a clear that only seemed to work.
    if (!storage_.remove()) {
        return false;
    }
    defaults_.remove(kFlagKey);
    defaults_.remove(kLegacySaltKey);
    defaults_.remove(kLegacyHashKey);
    return true;
}

AppPassword::Check AppPassword::check(std::string_view password, TimePoint now) {
    migrateLegacy();
    auto record = storage_.load();
    if (!record) {
        return Check::wrong();
    }
    // A lock-out further ahead than the longest one was not set by this program (or the clock was
    // turned back); it must not lock the user out for longer.
    if (record->lockedUntil && *record->lockedUntil > now + kMaxLockout) {
        record->lockedUntil = now + kMaxLockout;
        storage_.save(*record);
    }
    if (record->lockedUntil && *record->lockedUntil > now) {
        return Check::lockedOut(*record->lockedUntil);
    }
    Bytes derived(kHashLength, 0);
    if (!crypto_.deriveKey(password, record->salt, record->rounds, derived)) {
        // Nothing was compared, so the user made no wrong entry to count.
        return Check::wrong();
    }
    if (!sameHash(derived, record->hash)) {
        if (record->failures < std::numeric_limits<std::int64_t>::max()) {
            ++record->failures;
        }
        if (auto duration = lockoutDuration(record->failures)) {
            record->lockedUntil = now + *duration;
        }
        storage_.save(*record);
        return Check::wrong();
    }
    if (record->rounds < kCurrentRounds) {
        // The one moment the password is known: re-hash it at today's cost. When that fails the
        // old record stays and the next correct entry tries again.
        if (auto stronger = makeRecord(password, kCurrentRounds)) {
            *record = *stronger;
        }
    }
    record->failures = 0;
    record->lockedUntil.reset();
    storage_.save(*record);
    return Check::ok();
}

std::optional<TimePoint> AppPassword::lockedUntil(TimePoint now) {
    auto record = storage_.load();
    if (!record || !record->lockedUntil || !(*record->lockedUntil > now)) {
        return std::nullopt;
    }
    return std::min(*record->lockedUntil, now + kMaxLockout);
}

std::optional<double> AppPassword::lockoutDuration(std::int64_t failures) {
    if (failures < kFreeAttempts) {
        return std::nullopt;
    }
    auto exponent = std::min(failures, kExponentCap) - kFreeAttempts;
    return std::min(kLockoutBase * std::ldexp(1.0, static_cast<int>(exponent)), kMaxLockout);
}

}  // namespace nimbrel
