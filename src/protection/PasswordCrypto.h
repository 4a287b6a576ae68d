#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace nimbrel {

// The two primitives of the password scheme. Either may fail; a caller must not use the output
// of a call that answered false.
class PasswordCrypto {
  public:
    virtual ~PasswordCrypto() = default;
    // Fills `out` from a cryptographically secure generator.
    virtual bool randomBytes(std::span<std::uint8_t> out) = 0;
    // PBKDF2 with HMAC-SHA-256 over the password's bytes exactly as given. Fails for an iteration
    // count the primitive cannot take (below 1, or beyond its range).
    virtual bool deriveKey(std::string_view password, std::span<const std::uint8_t> salt,
                           std::int64_t rounds, std::span<std::uint8_t> out) = 0;
};

}  // namespace nimbrel
