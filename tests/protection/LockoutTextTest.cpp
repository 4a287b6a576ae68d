#include <gtest/gtest.h>

#include "protection/LockoutText.h"

namespace nimbrel {
namespace {

struct TextCase {
    const char* name;
    double secondsLeft;
    const char* locale;
    const char* expected;
};

class LockoutText : public ::testing::TestWithParam<TextCase> {};

TEST_P(LockoutText, ReadsInTheLocalesFullStyle) {
    EXPECT_EQ(lockoutRemainingText(GetParam().secondsLeft, GetParam().locale), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Durations, LockoutText,
    ::testing::Values(TextCase{"thirtySeconds", 30, "en", "30 seconds"},
                      TextCase{"sixtyOneSecondsIsTwoMinutes", 61, "en", "2 minutes"},
                      TextCase{"partSecondRoundsUp", 29.2, "en", "30 seconds"},
                      TextCase{"atLeastOneSecond", 0.01, "en", "1 second"},
                      TextCase{"nothingLeftStillOneSecond", -4, "en", "1 second"},
                      TextCase{"justBelowAMinuteIsAMinute", 59.5, "en", "1 minute"},
                      TextCase{"anHour", 3600, "en", "60 minutes"},
                      TextCase{"german", 61, "de", "2 Minuten"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimbrel
