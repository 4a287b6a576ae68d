#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "protection/Base64.h"
#include "protection/PasswordRecord.h"

namespace nimbrel {
namespace {

TEST(Base64, MatchesTheStandardVectorsBothWays) {
    const std::pair<const char*, const char*> vectors[] = {{"", ""},
                                                           {"f", "Zg=="},
                                                           {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},
                                                           {"foob", "Zm9vYg=="},
                                                           {"fooba", "Zm9vYmE="},
                                                           {"foobar", "Zm9vYmFy"}};
    for (auto [plain, encoded] : vectors) {
        Bytes bytes(plain, plain + std::strlen(plain));
        EXPECT_EQ(base64Encode(bytes), encoded);
        EXPECT_EQ(base64Decode(encoded), bytes) << encoded;
    }
    Bytes all;
    for (int i = 0; i < 256; ++i) {
        all.push_back(std::uint8_t(i));
    }
    EXPECT_EQ(base64Decode(base64Encode(all)), all);
}

TEST(Base64, RefusesWhatIsNotStrictBase64) {
    for (const char* bad :
         {"Zg", "Zg=", "Z===", "Zh==", "Zm9v\n", "Zm 9v", "Zm9v!A==", "=Zm9", "Zg==Zg==", "-_8="}) {
        EXPECT_EQ(base64Decode(bad), std::nullopt) << bad;
    }
}

TEST(PasswordRecord, RoundTripsThroughItsJsonForm) {
    PasswordRecord record{Bytes(16, 0xAB), Bytes(32, 0x01), 600000, 7, 1234.5};
    auto json = record.encoded();
    ASSERT_TRUE(json);
    EXPECT_EQ(PasswordRecord::decoded(*json), record);
    record.lockedUntil.reset();
    json = record.encoded();
    EXPECT_EQ(json->find("lockedUntil"), std::string::npos) << "an absent date is left out";
    EXPECT_EQ(PasswordRecord::decoded(*json), record);
}

TEST(PasswordRecord, ReadsKeysInAnyOrderAndANullDateAsAbsent) {
    auto record = PasswordRecord::decoded(
        R"({"failures":2,"lockedUntil":null,"rounds":200000,"hash":"AQI=","salt":"AA=="})");
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, (PasswordRecord{Bytes{0}, Bytes{1, 2}, 200000, 2, std::nullopt}));
    EXPECT_EQ(PasswordRecord::decoded(
                  R"({"salt":"AA==","hash":"AQI=","rounds":1,"failures":0,"lockedUntil":30})")
                  ->lockedUntil,
              30.0);
}

TEST(PasswordRecord, AnUnwritableDateWritesNoRecord) {
    PasswordRecord record{Bytes(16), Bytes(32), 600000, 5, std::numeric_limits<double>::infinity()};
    EXPECT_EQ(record.encoded(), std::nullopt);
}

struct DecodeCase {
    const char* name;
    const char* json;
};

class UndecodableRecord : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(UndecodableRecord, IsNoRecord) {
    EXPECT_EQ(PasswordRecord::decoded(GetParam().json), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, UndecodableRecord,
    ::testing::Values(
        DecodeCase{"notJson", "salt=AA=="}, DecodeCase{"array", "[1,2]"},
        DecodeCase{"missingSalt", R"({"hash":"AA==","rounds":1,"failures":0})"},
        DecodeCase{"missingHash", R"({"salt":"AA==","rounds":1,"failures":0})"},
        DecodeCase{"missingRounds", R"({"salt":"AA==","hash":"AA==","failures":0})"},
        DecodeCase{"missingFailures", R"({"salt":"AA==","hash":"AA==","rounds":1})"},
        DecodeCase{"badBase64", R"({"salt":"A","hash":"AA==","rounds":1,"failures":0})"},
        DecodeCase{"saltNotAString", R"({"salt":5,"hash":"AA==","rounds":1,"failures":0})"},
        DecodeCase{"roundsAsText", R"({"salt":"AA==","hash":"AA==","rounds":"1","failures":0})"},
        DecodeCase{"roundsFractional",
                   R"({"salt":"AA==","hash":"AA==","rounds":1.5,"failures":0})"},
        DecodeCase{"roundsBeyond64Bits",
                   R"({"salt":"AA==","hash":"AA==","rounds":18446744073709551615,"failures":0})"},
        DecodeCase{"dateAsText",
                   R"({"salt":"AA==","hash":"AA==","rounds":1,"failures":0,"lockedUntil":"x"})"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimbrel
