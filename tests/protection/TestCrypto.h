#pragma once

#include <cstdint>
#include <vector>

#include "protection/OpenSslPasswordCrypto.h"

namespace nimbrel::test {

// The real primitives, made cheap and breakable: derivations run at a thousandth of the rounds
// asked for (the scheme's own counts stay visible in the records), and either primitive can be
// made to fail.
class TestCrypto final : public PasswordCrypto {
  public:
    bool randomBytes(std::span<std::uint8_t> out) override {
        ++draws;
        return !failRandom && real_.randomBytes(out);
    }
    bool deriveKey(std::string_view password, std::span<const std::uint8_t> salt,
                   std::int64_t rounds, std::span<std::uint8_t> out) override {
        roundsAsked.push_back(rounds);
        if (failDerive || rounds < 1 || rounds > INT32_MAX) {
            return false;
        }
        return real_.deriveKey(password, salt, rounds / 1000 + 1, out);
    }

    bool failRandom = false;
    bool failDerive = false;
    int draws = 0;
    std::vector<std::int64_t> roundsAsked;

  private:
    OpenSslPasswordCrypto real_;
};

}  // namespace nimbrel::test
