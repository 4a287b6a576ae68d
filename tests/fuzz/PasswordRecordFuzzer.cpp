#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "protection/PasswordRecord.h"

using nimbrel::PasswordRecord;
using nimbrel::fuzz::require;

// The keychain item's data as any program may have left it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto record = PasswordRecord::decoded(bytes);
    if (!record) {
        return 0;
    }
    require(record->isWellFormed(), "a decoded record is well formed");
    require(!record->lockedUntil || std::isfinite(*record->lockedUntil),
            "a decoded lock-out end is finite");
    auto encoded = record->encoded();
    require(encoded.has_value(), "a decoded record can be written");
    require(PasswordRecord::decoded(*encoded) == record, "a written record reads back the same");
    return 0;
}
