#include <gtest/gtest.h>

#include "platform/Geometry.h"

namespace nimbrel {
namespace {

struct EdgeCase {
    const char* name;
    Point point;  // accessibility space
    bool inside;
};

// A side screen right of a 900-point-high main screen, as a user would arrange it.
constexpr double kPrimaryHeight = 900;
const Rect kSide{1440, 0, 1280, 800};

class FlipEdges : public testing::TestWithParam<EdgeCase> {};

TEST_P(FlipEdges, PointAndRectangleAgreeInBothSpaces) {
    const EdgeCase& c = GetParam();
    EXPECT_EQ(kSide.contains(c.point), c.inside);
    EXPECT_EQ(
        flipped(kSide, kPrimaryHeight).containsInScreenSpace(flipped(c.point, kPrimaryHeight)),
        c.inside);
}

INSTANTIATE_TEST_SUITE_P(Geometry, FlipEdges,
                         testing::Values(EdgeCase{"topRow", {2000, 0}, true},
                                         EdgeCase{"bottomRow", {2000, 799.5}, true},
                                         EdgeCase{"justBelow", {2000, 800}, false},
                                         EdgeCase{"justAbove", {2000, -0.5}, false},
                                         EdgeCase{"leftEdge", {1440, 400}, true},
                                         EdgeCase{"rightEdge", {2720, 400}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Geometry, FlipIsItsOwnInverse) {
    Rect r{10, 20, 300, 400};
    EXPECT_EQ(flipped(flipped(r, kPrimaryHeight), kPrimaryHeight), r);
    EXPECT_EQ(flipped(r, kPrimaryHeight), Rect(10, 480, 300, 400));
    EXPECT_EQ(flipped(Point{5, 0}, kPrimaryHeight), (Point{5, 900}));
}

}  // namespace
}  // namespace nimbrel
