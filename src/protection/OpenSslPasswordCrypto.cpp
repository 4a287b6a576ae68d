#include "protection/OpenSslPasswordCrypto.h"

#include <climits>

#include <openssl/evp.h>
#include <openssl/rand.h>

namespace nimbrel {

bool OpenSslPasswordCrypto::randomBytes(std::span<std::uint8_t> out) {
    if (out.size() > INT_MAX) {
        return false;
    }
    return RAND_bytes(out.data(), static_cast<int>(out.size())) == 1;
}

bool OpenSslPasswordCrypto::deriveKey(std::string_view password, std::span<const std::uint8_t> salt,
                                      std::int64_t rounds, std::span<std::uint8_t> out) {
    if (rounds < 1 || rounds > INT_MAX || password.size() > INT_MAX || salt.size() > INT_MAX ||
        out.size() > INT_MAX) {
        return false;
    }
    // An empty password or salt may come with a null pointer; OpenSSL wants a real one.
    static const char kNothing = 0;
    const char* pass = password.empty() ? &kNothing : password.data();
    const auto* saltBytes =
        salt.empty() ? reinterpret_cast<const unsigned char*>(&kNothing) : salt.data();
    return PKCS5_PBKDF2_HMAC(pass, static_cast<int>(password.size()), saltBytes,
                             static_cast<int>(salt.size()), static_cast<int>(rounds), EVP_sha256(),
                             static_cast<int>(out.size()), out.data()) == 1;
}

}  // namespace nimbrel
