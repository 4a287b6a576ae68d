#include <gtest/gtest.h>

#include "DeepJson.h"
#include "platform/StoredJson.h"

namespace nimbrel {
namespace {

std::string nestedArrays(int levels) {
    return std::string(levels, '[') + std::string(levels, ']');
}

TEST(StoredJson, AcceptsNestingUpToTheLimitAndNoDeeper) {
    auto atLimit = parseStoredJson(nestedArrays(kStoredJsonMaxDepth));
    ASSERT_TRUE(atLimit);
    EXPECT_EQ(atLimit->dump(), nestedArrays(kStoredJsonMaxDepth));
    EXPECT_FALSE(parseStoredJson(nestedArrays(kStoredJsonMaxDepth + 1)));
    // Objects count as levels too, mixed with arrays.
    std::string mixed;
    for (int i = 0; i <= kStoredJsonMaxDepth / 2; ++i) {
        mixed += "{\"k\":[";
    }
    mixed += "0";
    for (int i = 0; i <= kStoredJsonMaxDepth / 2; ++i) {
        mixed += "]}";
    }
    EXPECT_FALSE(parseStoredJson(mixed));
}

TEST(StoredJson, RefusesAHugeDepthWithoutBuildingIt) {
    EXPECT_FALSE(parseStoredJson(test::deeplyNestedDocument(100000)));
    // The same depth left unclosed is damaged JSON as well as too deep.
    EXPECT_FALSE(parseStoredJson(std::string(100000, '[')));
}

TEST(StoredJson, ReadsOrdinaryDocumentsInTheirKeyOrder) {
    auto json = parseStoredJson(R"({"z":1,"a":[true,{"b":null}],"m":"é"})");
    ASSERT_TRUE(json);
    EXPECT_EQ(json->dump(), R"({"z":1,"a":[true,{"b":null}],"m":"é"})");
    for (const char* bad : {"", "{", "{\"a\":1,}", "nul", "\"\xFF\"", "1e400"}) {
        EXPECT_FALSE(parseStoredJson(bad)) << bad;
    }
}

}  // namespace
}  // namespace nimbrel
