#include <gtest/gtest.h>

#include "app/LockedAtExit.h"
#include "platform/sim/SimUserDefaults.h"

namespace nimbrel::test {
namespace {

TEST(LockedAtExitTest, TheRecordIsReadOnceAndAnEmptyListStoresNothing) {
    sim::SimUserDefaults defaults;
    LockedAtExit{}.save(defaults);
    EXPECT_FALSE(defaults.data("lockedAtExit.v1"));

    LockedAtExit record{
        {WindowKey{501, std::string("com.example.bank"), 7}, WindowKey{502, {}, 9}}};
    record.save(defaults);
    EXPECT_EQ(LockedAtExit::take(defaults).windows, record.windows);
    EXPECT_TRUE(LockedAtExit::take(defaults).windows.empty());
}

TEST(LockedAtExitTest, ADamagedRecordLocksNothingAndIsGone) {
    const char* damaged[] = {
        "not json",
        "[]",
        R"({"windows": 3})",
        R"({"windows": [{"pid": "x", "number": 1}]})",
    };
    for (const char* bytes : damaged) {
        sim::SimUserDefaults defaults;
        defaults.setData("lockedAtExit.v1", bytes);
        EXPECT_TRUE(LockedAtExit::take(defaults).windows.empty()) << bytes;
        EXPECT_FALSE(defaults.data("lockedAtExit.v1")) << bytes;
    }
    // Entries that decode are kept beside one that does not.
    sim::SimUserDefaults defaults;
    defaults.setData("lockedAtExit.v1", R"({"windows": [{"pid": 501, "number": 7}, {"pid": -1}]})");
    auto windows = LockedAtExit::take(defaults).windows;
    ASSERT_EQ(windows.size(), 1U);
    EXPECT_EQ(windows[0].number, 7U);
}

}  // namespace
}  // namespace nimbrel::test
