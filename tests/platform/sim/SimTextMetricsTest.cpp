#include <string>

#include <gtest/gtest.h>

#include "platform/sim/SimTextMetrics.h"

namespace nimbrel::sim {
namespace {

struct MeasureCase {
    const char* name;
    std::string text;
    double maxWidth;
    Size expected;  // callout: 7 × 16 points a character
};

class SimTextMetricsMeasure : public testing::TestWithParam<MeasureCase> {};

TEST_P(SimTextMetricsMeasure, MeasuresUserPerceivedCharactersAndWraps) {
    SimTextMetrics metrics;
    EXPECT_EQ(metrics.fittingSize(GetParam().text, FontStyle::callout, GetParam().maxWidth),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SimTextMetricsMeasure,
    testing::Values(
        MeasureCase{"empty", "", 100, {0, 0}},
        MeasureCase{"oneLine", "abc de", kUnlimitedWidth, {42, 16}},
        // A family emoji and an accented letter written with a combining mark are one each.
        MeasureCase{"graphemes", "👨‍👩‍👧e\xCC\x81", kUnlimitedWidth, {14, 16}},
        MeasureCase{"wrapsAtSpaces", "aaa bbb ccc", 50, {49, 32}},
        MeasureCase{"exactFitStaysOnOneLine", "aaa bbb", 49, {49, 16}},
        MeasureCase{"longWordBreaksBetweenCharacters", "abcdefghij", 28, {28, 48}},
        MeasureCase{"narrowerThanOneCharacterStillProgresses", "abc", 1, {7, 48}},
        MeasureCase{"newlineStartsALine", "ab\n\nabcd", kUnlimitedWidth, {28, 48}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimbrel::sim
