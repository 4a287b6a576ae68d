#include <gtest/gtest.h>

#include "engine/Placement.h"
#include "engine/WindowAccess.h"
#include "engine/WindowKey.h"
#include "platform/UnicodeText.h"

namespace nimbrel {
namespace {

// Two screens side by side in accessibility space: 1440 x 900 primary, 1920 x 1080 to its right,
// top edges level.
const std::vector<Rect> kTwoScreens = {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}};

struct OnScreenCase {
    const char* name;
    Rect frame;
    bool onScreen;
};

class OnScreenRule : public testing::TestWithParam<OnScreenCase> {};

TEST_P(OnScreenRule, NeedsFortyByTwentyPointsOnOneScreen) {
    EXPECT_EQ(WindowAccess::isOnScreen(GetParam().frame, kTwoScreens), GetParam().onScreen);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, OnScreenRule,
    testing::Values(OnScreenCase{"sliver39Wide", {-761, 100, 800, 100}, false},
                    OnScreenCase{"exactly40x20", {-760, 880, 800, 600}, true},
                    OnScreenCase{"only19High", {100, 881, 400, 300}, false},
                    OnScreenCase{"straddlingBothScreensNarrowOnEach", {1410, 1060, 60, 100}, false},
                    OnScreenCase{"belowPrimaryButOnSecond", {1500, 950, 400, 300}, true},
                    OnScreenCase{"atTheParkingPoint", {3359, 1079, 800, 600}, false},
                    OnScreenCase{"fullyInside", {100, 100, 800, 600}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParkingPoint, OnePointInsideTheBottomRightOfAllScreens) {
    EXPECT_EQ(WindowAccess::parkingPoint(kTwoScreens), (Point{3359, 1079}));
    EXPECT_EQ(WindowAccess::parkingPoint({}), (Point{-1, -1}));
    // A screen above the primary one (negative y) does not lower the bound.
    EXPECT_EQ(WindowAccess::parkingPoint({{0, 0, 1440, 900}, {0, -1080, 1920, 1080}}),
              (Point{1919, 899}));
}

TEST(ScreenRects, ConvertBottomLeftFramesWithThePrimaryHeight) {
    // The second screen, 1080 high with its top level with the 900-high primary, starts 180
    // points below the primary's origin in screen space.
    EXPECT_EQ(WindowAccess::toAccessibility({1440, -180, 1920, 1080}, 900),
              (Rect{1440, 0, 1920, 1080}));
    EXPECT_EQ(WindowAccess::toAccessibility({0, 0, 1440, 900}, 900), (Rect{0, 0, 1440, 900}));
}

struct PlacementCase {
    const char* name;
    Rect window;
    std::optional<Point> expected;
};

class PlacementRule : public testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementRule, CentresWindowsThatAreElsewhere) {
    // Target: the primary screen, visible frame below a 25-point menu bar.
    Rect frame{0, 0, 1440, 900};
    Rect visible{0, 25, 1440, 875};
    EXPECT_EQ(placement(GetParam().window, frame, visible), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PlacementRule,
    testing::Values(
        PlacementCase{"centreAlreadyOnScreenStays", {1000, 500, 800, 600}, std::nullopt},
        PlacementCase{"elsewhereIsCentred", {2000, 100, 800, 600}, Point{320, 162.5}},
        PlacementCase{"widerThanVisibleAlignsLeft", {2000, 100, 3000, 400}, Point{0, 262.5}},
        PlacementCase{"tallerThanVisibleAlignsTop", {2000, 100, 400, 2000}, Point{520, 25}}),
    [](const auto& info) { return std::string(info.param.name); });

struct LabelCutCase {
    const char* name;
    std::string text;
    std::size_t expectedCharacters;
    bool cut;
};

class LabelCut : public testing::TestWithParam<LabelCutCase> {};

TEST_P(LabelCut, CutsAtSixtyUserPerceivedCharacters) {
    std::string out = truncatedWithEllipsis(GetParam().text, 60);
    EXPECT_EQ(characterCount(out), GetParam().expectedCharacters);
    EXPECT_EQ(out != GetParam().text, GetParam().cut);
    if (GetParam().cut) {
        EXPECT_EQ(out.substr(out.size() - 3), "…");
    }
}

std::string repeat(const std::string& unit, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += unit;
    }
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LabelCut,
    testing::Values(LabelCutCase{"seventyFiveBecomesSixty", repeat("a", 75), 60, true},
                    LabelCutCase{"exactlySixtyStaysWhole", repeat("b", 60), 60, false},
                    LabelCutCase{"sixtyOneIsCut", repeat("c", 61), 60, true},
                    // A family emoji is one character of several code points; it is never split.
                    LabelCutCase{"emojiCountOnce", repeat("👨‍👩‍👧", 61), 60, true},
                    LabelCutCase{"combiningMarksStayWithTheirLetter", repeat("e\u0301", 60), 60,
                                 false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowKeyJson, KeepsAnAbsentBundleAbsentAndRejectsBadNumbers) {
    WindowKey key{412, std::nullopt, 7001};
    EXPECT_EQ(key.toJson().dump(), R"({"pid":412,"number":7001})");
    EXPECT_EQ(WindowKey::fromJson(key.toJson()), key);

    WindowKey withBundle{412, "com.example.bank", 7001};
    EXPECT_EQ(withBundle.toJson().dump(),
              R"({"pid":412,"bundleID":"com.example.bank","number":7001})");
    EXPECT_EQ(WindowKey::fromJson(withBundle.toJson()), withBundle);

    for (const char* bad :
         {R"({"pid":1})", R"({"pid":"1","number":2})", R"({"pid":1,"number":-2})",
          R"({"pid":1,"number":4294967296})", R"({"pid":1,"number":2,"bundleID":3})", R"([1,2])",
          R"({"pid":18446744073709551615,"number":2})", R"({"pid":2147483648,"number":2})"}) {
        EXPECT_FALSE(WindowKey::fromJson(Json::parse(bad))) << bad;
    }
}

}  // namespace
}  // namespace nimbrel
