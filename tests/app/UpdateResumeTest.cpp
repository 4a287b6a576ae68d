#include <gtest/gtest.h>

#include "DeepJson.h"
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
    defaults.setData("resume.v1", test::deeplyNestedDocument(100000));
    EXPECT_FALSE(UpdateResume::take(defaults, 0));
    EXPECT_FALSE(defaults.contains("resume.v1"));
}

TEST(UpdateResume, RegionsRoundTripAsTheSavedCoverRegionsTheyAre) {
    UpdateResume record = sampleRecord(100);
    record.regions.push_back({std::nullopt, Rect(10, 20, 300, 40)});
    record.regions.push_back(
        {SavedCover::Window{"com.example.bank", "Bank", "Accounts", 7001}, Rect(5, 6, 0, 0)});
    Json json = record.toJson();
    EXPECT_EQ(json["regions"][0].dump(), R"({"rect":[[10.0,20.0],[300.0,40.0]]})");
    auto back = UpdateResume::fromJson(json);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->regions, record.regions);
}

// A record as the program writes it, one window and one region, with the value at `pointer`
// replaced, or removed when none is given.
std::string resumeWith(const char* pointer, std::optional<Json> value, TimePoint savedAt) {
    UpdateResume record = sampleRecord(savedAt);
    record.regions.push_back(
        {SavedCover::Window{"com.example.bank", "Bank", "Accounts", 7001}, Rect(5, 6, 70, 80)});
    Json json = record.toJson();
    Json::json_pointer at(pointer);
    if (value) {
        json[at] = *value;
    } else {
        json[at.parent_pointer()].erase(at.back());
    }
    return json.dump();
}

struct BadRecordCase {
    const char* name;
    const char* pointer;
    std::optional<Json> value;
};

class BadResumeRecord : public testing::TestWithParam<BadRecordCase> {};

TEST_P(BadResumeRecord, IsNoRecordAndIsDeleted) {
    const TimePoint now = 800000000;
    sim::SimUserDefaults defaults;
    defaults.setData("resume.v1", resumeWith(GetParam().pointer, GetParam().value, now));
    EXPECT_FALSE(UpdateResume::take(defaults, now));
    EXPECT_FALSE(defaults.contains("resume.v1"));
}

TEST(UpdateResume, TheUneditedRecordOfTheBadRecordTableIsGood) {
    const TimePoint now = 800000000;
    sim::SimUserDefaults defaults;
    defaults.setData("resume.v1", resumeWith("/focusLocked", true, now));
    auto taken = UpdateResume::take(defaults, now);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->regions.size(), 1u);
    EXPECT_EQ(taken->focusLocked, true);
}

INSTANTIATE_TEST_SUITE_P(
    Records, BadResumeRecord,
    testing::Values(BadRecordCase{"noSavedAt", "/savedAt", std::nullopt},
                    BadRecordCase{"noWindows", "/windows", std::nullopt},
                    BadRecordCase{"noRegions", "/regions", std::nullopt},
                    BadRecordCase{"windowsNotAnArray", "/windows", Json::object()},
                    BadRecordCase{"windowWithoutFocus", "/windows/0/focus", std::nullopt},
                    BadRecordCase{"lockedAsNumber", "/windows/0/locked", 1},
                    BadRecordCase{"focusLockedAsText", "/focusLocked", "yes"},
                    BadRecordCase{"pidBeyond32Bits", "/windows/0/key/pid", 4294967296ll},
                    BadRecordCase{"pidBeyond64Bits", "/windows/0/key/pid", 18446744073709551615ull},
                    BadRecordCase{"windowNumberNegative", "/windows/0/key/number", -1},
                    BadRecordCase{"regionNotAnObject", "/regions/0", 3},
                    BadRecordCase{"regionWithoutRect", "/regions/0/rect", std::nullopt},
                    BadRecordCase{"regionRectFlat", "/regions/0/rect", Json::array({1, 2, 3, 4})},
                    BadRecordCase{"regionRectText", "/regions/0/rect/1/0", "wide"},
                    BadRecordCase{"regionWidthNegative", "/regions/0/rect/1/0", -70.0},
                    BadRecordCase{"regionHeightNegative", "/regions/0/rect/1/1", -0.5},
                    BadRecordCase{"regionWindowWithoutAppName", "/regions/0/window/appName",
                                  std::nullopt},
                    BadRecordCase{"regionWindowNumberNegative", "/regions/0/window/number", -7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateResume, RegionsNestedFarTooDeepAreNoRecord) {
    sim::SimUserDefaults defaults;
    std::string deep = R"({"savedAt":0,"windows":[],"regions":[)" + std::string(100000, '[') +
                       std::string(100000, ']') + "]}";
    defaults.setData("resume.v1", deep);
    EXPECT_FALSE(UpdateResume::take(defaults, 0));
    EXPECT_FALSE(defaults.contains("resume.v1"));
}

}  // namespace
}  // namespace nimbrel
