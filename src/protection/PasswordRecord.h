#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/MainLoop.h"
#include "protection/Bytes.h"

namespace nimbrel {

// The stored application password: a salted, stretched hash with the count of consecutive wrong
// entries and the end of the current lock-out. Dates are on the platform's clock, which counts
// seconds since 2001-01-01 00:00:00 UTC.
struct PasswordRecord {
    Bytes salt;
    Bytes hash;
    std::int64_t rounds = 0;
    std::int64_t failures = 0;
    std::optional<TimePoint> lockedUntil;

    friend bool operator==(const PasswordRecord&, const PasswordRecord&) = default;

    // A record this program could have made and can check an entry against: the scheme's salt and
    // hash lengths, rounds from AppPassword::kMinimumRounds to kMaximumRounds, no negative failure
    // count.
    bool isWellFormed() const;

    // The keychain item's data: {"salt","hash","rounds","failures"[,"lockedUntil"]}. None when the
    // record cannot be written as JSON (a lock-out end that is not a finite number) or is not well
    // formed, since it would not read back.
    std::optional<std::string> encoded() const;
    // None for anything that is not a whole, well-formed record: a missing or mistyped key, bad
    // Base64, a value outside what isWellFormed allows, a document nested too deep.
    static std::optional<PasswordRecord> decoded(std::string_view json);
};

}  // namespace nimbrel
