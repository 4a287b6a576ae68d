#include <openssl/evp.h>

#include <gtest/gtest.h>

#include "ProtectionFixture.h"
#include "protection/OpenSslPasswordCrypto.h"

namespace nimbrel::test {
namespace {

Bytes fromHex(std::string_view hex) {
    Bytes out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(std::uint8_t(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return out;
}

struct VectorCase {
    const char* name;
    const char* password;
    const char* salt;
    std::int64_t rounds;
    const char* hex;
};

class Pbkdf2Vectors : public ::testing::TestWithParam<VectorCase> {};

TEST_P(Pbkdf2Vectors, MatchThePublishedOutput) {
    const auto& c = GetParam();
    OpenSslPasswordCrypto crypto;
    std::string_view salt(c.salt);
    Bytes saltBytes(salt.begin(), salt.end());
    Bytes out(64, 0);
    ASSERT_TRUE(crypto.deriveKey(c.password, saltBytes, c.rounds, out));
    EXPECT_EQ(out, fromHex(c.hex));
}

// RFC 7914, section 11.
INSTANTIATE_TEST_SUITE_P(
    Rfc7914, Pbkdf2Vectors,
    ::testing::Values(
        VectorCase{"oneRound", "passwd", "salt", 1,
                   "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
                   "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783"},
        VectorCase{"eightyThousandRounds", "Password", "NaCl", 80000,
                   "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
                   "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpenSslPasswordCrypto, RefusesRoundsItCannotTake) {
    OpenSslPasswordCrypto crypto;
    Bytes salt(16, 1);
    Bytes out(32, 0);
    for (std::int64_t rounds : {std::int64_t(0), std::int64_t(-5), std::int64_t(1) << 31}) {
        EXPECT_FALSE(crypto.deriveKey("pw", salt, rounds, out)) << rounds;
    }
    EXPECT_TRUE(crypto.deriveKey("", {}, 1, out)) << "empty password and salt are still PBKDF2";
}

TEST(OpenSslPasswordCrypto, DrawsFreshBytesEachTime) {
    OpenSslPasswordCrypto crypto;
    Bytes a(16, 0);
    Bytes b(16, 0);
    ASSERT_TRUE(crypto.randomBytes(a));
    ASSERT_TRUE(crypto.randomBytes(b));
    EXPECT_NE(a, b);
}

// The one place the full 600000 rounds run: the record the program writes is exactly the
// standard derivation of the password under its salt.
TEST_F(ProtectionFixture, TheRealSchemeStoresStandardPbkdf2AtSixHundredThousandRounds) {
    protection.reset();
    protection = std::make_unique<AccessProtection>(ProtectionServices{keychain,
                                                                       localAuth,
                                                                       alerts,
                                                                       defaults,
                                                                       application,
                                                                       sound,
                                                                       loop,
                                                                       strings,
                                                                       std::nullopt,
                                                                       {},
                                                                       "en"});
    const std::string entry = "gr\xC3\xBCn \xE2\x80\x94 violet 31";
    ASSERT_TRUE(password().set(entry));
    auto record = *stored();
    ASSERT_EQ(record.rounds, 600000);
    Bytes expected(32, 0);
    ASSERT_EQ(PKCS5_PBKDF2_HMAC(entry.data(), int(entry.size()), record.salt.data(),
                                int(record.salt.size()), 600000, EVP_sha256(), 32, expected.data()),
              1);
    EXPECT_EQ(record.hash, expected);
    EXPECT_TRUE(keychain.find({"com.plovek.nimbrel.appPassword", "record"}));
    EXPECT_EQ(password().check(entry, 0), AppPassword::Check::ok());
}

}  // namespace
}  // namespace nimbrel::test
