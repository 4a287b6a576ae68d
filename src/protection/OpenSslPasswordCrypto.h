#pragma once

#include "protection/PasswordCrypto.h"

namespace nimbrel {

class OpenSslPasswordCrypto final : public PasswordCrypto {
  public:
    bool randomBytes(std::span<std::uint8_t> out) override;
    bool deriveKey(std::string_view password, std::span<const std::uint8_t> salt,
                   std::int64_t rounds, std::span<std::uint8_t> out) override;
};

}  // namespace nimbrel
