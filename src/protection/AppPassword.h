#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/MainLoop.h"
#include "platform/UserDefaults.h"
#include "protection/PasswordCrypto.h"
#include "protection/PasswordRecord.h"
#include "protection/PasswordStorage.h"
#include "protection/PasswordWeakness.h"

namespace nimbrel {

// The application password over its one stored record: setting, clearing and checking it, with
// the failure count and the growing lock-outs that limit guessing. Holds no state of its own; the
// record and the defaults flag are the state.
class AppPassword {
  public:
    using Record = PasswordRecord;
    using Storage = PasswordStorage;
    using Weakness = PasswordWeakness;

    enum class Status { none, set, missing };

    struct Check {
        enum class Result { lockedOut, ok, wrong };
        Result result = Result::wrong;
        TimePoint until = 0;  // the end of the lock-out, with lockedOut

        static Check lockedOut(TimePoint until) { return {Result::lockedOut, until}; }
        static Check ok() { return {Result::ok, 0}; }
        static Check wrong() { return {Result::wrong, 0}; }
        friend bool operator==(const Check&, const Check&) = default;
    };

    static constexpr std::int64_t kCurrentRounds = 600000;
    static constexpr std::int64_t kLegacyRounds = 200000;
    // The rounds a stored record may carry. Far fewer than the legacy count were never written and
    // protect nothing; far more would hold the main loop at every entry (at 2^31 one check takes
    // the better part of an hour). The room on either side is for versions before and after this.
    static constexpr std::int64_t kMinimumRounds = kLegacyRounds / 2;
    static constexpr std::int64_t kMaximumRounds = kCurrentRounds * 4;
    static constexpr std::size_t kSaltLength = 16;
    static constexpr std::size_t kHashLength = 32;
    static constexpr std::int64_t kFreeAttempts = 5;
    static constexpr double kLockoutBase = 30;
    static constexpr std::int64_t kExponentCap = 15;
    static constexpr double kMaxLockout = 3600;

    static constexpr const char* kFlagKey = "appPassword.v2";
    static constexpr const char* kLegacySaltKey = "appPassword.salt";
    static constexpr const char* kLegacyHashKey = "appPassword.hash";

    AppPassword(Storage& storage, UserDefaults& defaults, PasswordCrypto& crypto)
        : storage_(storage), defaults_(defaults), crypto_(crypto) {}
    AppPassword(const AppPassword&) = delete;
    AppPassword& operator=(const AppPassword&) = delete;

    Status status();
    bool isSet() { return status() == Status::set; }
    // False, with nothing stored or changed, when no record could be made or the storage did not
    // keep it.
    bool set(std::string_view password);
    // False when the stored record could not be removed; nothing changes then.
    bool clear();
    Check check(std::string_view password, TimePoint now);
    std::optional<TimePoint> lockedUntil(TimePoint now);

    static std::optional<double> lockoutDuration(std::int64_t failures);
    static std::optional<Weakness> weakness(std::string_view candidate) {
        return passwordWeakness(candidate);
    }

  private:
    void migrateLegacy();
    std::optional<Record> makeRecord(std::string_view password, std::int64_t rounds);
    bool flagIsSet();

    Storage& storage_;
    UserDefaults& defaults_;
    PasswordCrypto& crypto_;
};

}  // namespace nimbrel
