#include <gtest/gtest.h>

#include "DeepJson.h"
#include "platform/sim/SimUserDefaults.h"

namespace nimbrel::sim {
namespace {

struct DescribeCase {
    const char* name;
    std::string bytes;
    std::string description;
};

class DescribedData : public testing::TestWithParam<DescribeCase> {};

TEST_P(DescribedData, ShowsJsonAsJsonAndAnythingElseAsAString) {
    SimUserDefaults defaults;
    defaults.setData("k", GetParam().bytes);
    EXPECT_EQ(defaults.describe("k"), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DescribedData,
    testing::Values(DescribeCase{"json", R"({ "b": 1, "a": [true] })", R"({"b":1,"a":[true]})"},
                    DescribeCase{"text", "not \"json\" é", R"("not \"json\" é")"},
                    DescribeCase{"loneByte", "{\"a\":\"x\xFFy\"}", R"("{\"a\":\"x\xFFy\"}")"},
                    DescribeCase{"cutSequence", "\xE2\x82", R"("\xE2\x82")"},
                    DescribeCase{"overlong", "a\xC0\xAF", R"("a\xC0\xAF")"},
                    DescribeCase{"surrogate", "\xED\xA0\x80z", R"("\xED\xA0\x80z")"},
                    DescribeCase{"controlAfterBadByte", "\xFF\n", R"("\xFF\n")"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimUserDefaults, DescribesAFarTooDeepDocumentAsTheTextItIs) {
    SimUserDefaults defaults;
    const std::string deep = test::deeplyNestedDocument(100000);
    defaults.setData("settings.v1", deep);
    auto description = defaults.describe("settings.v1");
    ASSERT_TRUE(description);
    EXPECT_EQ(description->substr(0, 10), R"("{\"a\":[[)");
    EXPECT_EQ(description->substr(description->size() - 12), R"(]],\"b\":0}")");
}

TEST(SimUserDefaults, AValueWithTextThatIsNotUtf8IsDescribedWithReplacements) {
    SimUserDefaults defaults;
    defaults.setValue("k", Json{{"t", "a\xFF"}});
    EXPECT_EQ(defaults.describe("k"), "{\"t\":\"a\xEF\xBF\xBD\"}");
}

}  // namespace
}  // namespace nimbrel::sim
