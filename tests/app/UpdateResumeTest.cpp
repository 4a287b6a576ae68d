#include <gtest/gtest.h>

#include "app/update/UpdateResume.h"
#include "platform/sim/SimUserDefaults.h"

namespace nimbrel {
namespace {

UpdateResume sampleRecord(TimePoint savedAt) {
    UpdateResume record;
    record.savedAt = savedAt;
    record.windows.push_back({WindowKey{501, std::nullopt, 120}, true, false});
    return record;
}

struct AgeCase {
    const char* name;
    double age;
    bool applied;
};

class ResumeAge : public testing::TestWithParam<AgeCase> {};

TEST_P(ResumeAge, AppliesOnlyWithinTheWindowAndAlwaysDeletes) {
    sim::SimUserDefaults defaults;
    const TimePoint now = 800000000;
    sampleRecord(now - GetParam().age).save(defaults);
    auto taken = UpdateResume::take(defaults, now);
    EXPECT_EQ(taken.has_value(), GetParam().applied);
    EXPECT_FALSE(defaults.contains("resume.v1"));
}

INSTANTIATE_TEST_SUITE_P(Ages, ResumeAge,
                         testing::Values(AgeCase{"fresh", 0, true}, AgeCase{"age599", 599, true},
                                         AgeCase{"age601", 601, false},
                                         AgeCase{"thirtyInTheFuture", -30, true},
                                         AgeCase{"sixtyOneInTheFuture", -61, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateResume, RoundTripKeepsKeyOrderAndOmitsAbsentValues) {
    UpdateResume record = sampleRecord(100);
    EXPECT_EQ(
        record.toJson().dump(),
        R"({"savedAt":100.0,"windows":[{"key":{"pid":501,"number":120},"locked":true,"focus":false}],"regions":[]})");
    record.focusLocked = false;
    auto back = UpdateResume::fromJson(record.toJson());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->focusLocked, false);
    EXPECT_FALSE(back->windows[0].key.bundleID);
    EXPECT_FALSE(back->isEmpty());
    EXPECT_TRUE(UpdateResume{}.isEmpty());
}

TEST(UpdateResume, UndecodableRecordIsDiscardedOnce) {
    sim::SimUserDefaults defaults;
    defaults.setData("resume.v1", R"({"savedAt":"yesterday","windows":[],"regions":[]})");
    EXPECT_FALSE(UpdateResume::take(defaults, 0));
    EXPECT_FALSE(defaults.contains("resume.v1"));
    defaults.setData("resume.v1", "not json");
    EXPECT_FALSE(UpdateResume::take(defaults, 0));
    EXPECT_FALSE(defaults.contains("resume.v1"));
}

}  // namespace
}  // namespace nimbrel
