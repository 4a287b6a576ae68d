#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/notices/OwnWindowPlacement.h"

namespace nimbrel {
namespace {

// Screen space. The side screen sits right of the primary; its visible frame loses 25 points at
// the top.
const Screen kSide{{1440, -180, 1920, 1080}, {1440, -180, 1920, 1055}, 2, "UUID-SIDE"};

struct RuleCase {
    const char* name;
    Rect window;
    std::optional<Point> expected;
};

class OwnWindowPlacementRule : public testing::TestWithParam<RuleCase> {};

TEST_P(OwnWindowPlacementRule, MovesOnlyWindowsWhoseCentreIsElsewhere) {
    EXPECT_EQ(OwnWindowPlacement::origin(GetParam().window, kSide), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, OwnWindowPlacementRule,
    testing::Values(
        // The centre (2000, 300) is on the side screen, although the window hangs off it.
        RuleCase{"centreOnScreenStays", {1700, 100, 600, 400}, std::nullopt},
        RuleCase{"centreOnTopEdgeOutside", {1900, 800, 200, 200}, Point{2300, 333}},
        // x = 2400 − 250, y = −180 + (1055 − 300) × 0.6.
        RuleCase{"elsewhereCentredAndAboveTheMiddle", {100, 100, 500, 300}, Point{2150, 273}},
        RuleCase{"widerThanTheVisibleFrameAlignsLeft", {-4000, 0, 3000, 200}, Point{1440, 333}},
        RuleCase{"tallerThanTheVisibleFrameAlignsBottom", {0, 0, 400, 1200}, Point{2200, -180}}),
    [](const auto& info) { return std::string(info.param.name); });

class FixedScreens final : public Screens {
  public:
    std::vector<Screen> screens() override { return list; }
    std::optional<Screen> mainScreen() override {
        return list.empty() ? std::nullopt : std::optional<Screen>(list.front());
    }
    Point mouseLocation() override { return mouse; }

    std::vector<Screen> list{{{0, 0, 1440, 900}, {0, 0, 1440, 875}, 1, "UUID-MAIN"}, kSide};
    Point mouse{100, 100};
};

TEST(OwnWindowPlacement, PlacesOnTheScreenTheCurrentChoiceResolvesTo) {
    FixedScreens screens;
    ScreenChoice choice = ScreenChoice::display("UUID-SIDE");
    OwnWindowPlacement placement(screens, [&] { return choice; });
    const Rect window(400, 300, 500, 300);

    EXPECT_EQ(placement.placed(window), Rect(2150, 273, 500, 300));

    choice = ScreenChoice::original();
    EXPECT_EQ(placement.placed(window), std::nullopt) << "no chosen screen leaves it alone";
    choice = ScreenChoice::display("UUID-GONE");
    EXPECT_EQ(placement.chosenScreen(), std::nullopt);
    EXPECT_EQ(placement.placed(window), std::nullopt);
    choice = ScreenChoice::mouse();
    screens.mouse = {2000, 0};
    EXPECT_EQ(placement.chosenScreen()->uuid, "UUID-SIDE");
}

}  // namespace
}  // namespace nimbrel
