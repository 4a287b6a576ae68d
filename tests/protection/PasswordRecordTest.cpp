#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "DeepJson.h"
#include "protection/AppPassword.h"
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

// A record as the program writes it, with one key replaced (or, given nothing, removed).
std::string recordWith(const char* key, std::optional<Json> value) {
    Json json =
        Json::parse(*PasswordRecord{Bytes(16, 0x5A), Bytes(32, 0x01), 600000, 2, 30.0}.encoded());
    json.erase(key);
    if (value) {
        json[key] = *value;
    }
    return json.dump();
}

std::string base64Of(std::size_t length) {
    return base64Encode(Bytes(length, 0x7F));
}

TEST(PasswordRecord, ReadsKeysInAnyOrderAndANullDateAsAbsent) {
    std::string reordered = R"({"failures":2,"lockedUntil":null,"rounds":200000,"hash":")" +
                            base64Of(32) + R"(","salt":")" + base64Of(16) + R"("})";
    auto record = PasswordRecord::decoded(reordered);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, (PasswordRecord{Bytes(16, 0x7F), Bytes(32, 0x7F), 200000, 2, std::nullopt}));
    EXPECT_EQ(PasswordRecord::decoded(recordWith("lockedUntil", 30))->lockedUntil, 30.0);
}

TEST(PasswordRecord, AcceptsTheEdgesOfEveryRange) {
    auto decodedWith = [](const char* key, const Json& value) {
        auto record = PasswordRecord::decoded(recordWith(key, value));
        EXPECT_TRUE(record) << key << " " << value.dump();
        return record.value_or(PasswordRecord{});
    };
    for (std::int64_t rounds :
         {AppPassword::kMinimumRounds, AppPassword::kLegacyRounds, AppPassword::kMaximumRounds}) {
        EXPECT_EQ(decodedWith("rounds", rounds).rounds, rounds);
    }
    for (std::int64_t failures : {std::int64_t(0), std::numeric_limits<std::int64_t>::max()}) {
        EXPECT_EQ(decodedWith("failures", failures).failures, failures);
    }
    EXPECT_EQ(decodedWith("lockedUntil", -1e300).lockedUntil, -1e300);
}

TEST(PasswordRecord, AnUnwritableDateWritesNoRecord) {
    PasswordRecord record{Bytes(16), Bytes(32), 600000, 5, std::numeric_limits<double>::infinity()};
    EXPECT_EQ(record.encoded(), std::nullopt);
}

// What would not read back is not written either: a save never replaces a good item by a dud.
TEST(PasswordRecord, AnIllFormedRecordIsNeverWritten) {
    for (auto broken : {PasswordRecord{Bytes(16), Bytes(31), 600000, 0, std::nullopt},
                        PasswordRecord{Bytes(12), Bytes(32), 600000, 0, std::nullopt},
                        PasswordRecord{Bytes(16), Bytes(32), 0, 0, std::nullopt},
                        PasswordRecord{Bytes(16), Bytes(32), 600000, -1, std::nullopt}}) {
        EXPECT_FALSE(broken.isWellFormed());
        EXPECT_EQ(broken.encoded(), std::nullopt);
    }
}

struct DecodeCase {
    const char* name;
    std::string json;
};

class UndecodableRecord : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(UndecodableRecord, IsNoRecord) {
    EXPECT_EQ(PasswordRecord::decoded(GetParam().json), std::nullopt);
}

// Every case but the first two differs from a record the program writes in one key alone.
INSTANTIATE_TEST_SUITE_P(
    Documents, UndecodableRecord,
    ::testing::Values(
        DecodeCase{"notJson", "salt=AA=="}, DecodeCase{"array", "[1,2]"},
        DecodeCase{"missingSalt", recordWith("salt", std::nullopt)},
        DecodeCase{"missingHash", recordWith("hash", std::nullopt)},
        DecodeCase{"missingRounds", recordWith("rounds", std::nullopt)},
        DecodeCase{"missingFailures", recordWith("failures", std::nullopt)},
        DecodeCase{"badBase64", recordWith("salt", "A")},
        DecodeCase{"saltNotAString", recordWith("salt", 5)},
        DecodeCase{"roundsAsText", recordWith("rounds", "600000")},
        DecodeCase{"roundsFractional", recordWith("rounds", 600000.5)},
        DecodeCase{"roundsBeyond64Bits", recordWith("rounds", 18446744073709551615ull)},
        DecodeCase{"dateAsText", recordWith("lockedUntil", "x")},
        // Values no version of the program writes, each of which it would mishandle: no entry
        // could ever be right, one check would block for minutes, the lock-out would never start.
        DecodeCase{"roundsZero", recordWith("rounds", 0)},
        DecodeCase{"roundsNegative", recordWith("rounds", -600000)},
        DecodeCase{"roundsBelowRange", recordWith("rounds", AppPassword::kMinimumRounds - 1)},
        DecodeCase{"roundsAboveRange", recordWith("rounds", AppPassword::kMaximumRounds + 1)},
        DecodeCase{"rounds2To31", recordWith("rounds", std::int64_t(1) << 31)},
        DecodeCase{"failuresNegative", recordWith("failures", -1)},
        DecodeCase{"failuresLowest",
                   recordWith("failures", std::numeric_limits<std::int64_t>::min())},
        DecodeCase{"hashEmpty", recordWith("hash", "")},
        DecodeCase{"hashShort", recordWith("hash", base64Of(31))},
        DecodeCase{"hashLong", recordWith("hash", base64Of(33))},
        DecodeCase{"saltShort", recordWith("salt", base64Of(15))},
        DecodeCase{"saltLong", recordWith("salt", base64Of(17))},
        DecodeCase{"nestedFarTooDeep", test::deeplyNestedDocument(100000)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimbrel
