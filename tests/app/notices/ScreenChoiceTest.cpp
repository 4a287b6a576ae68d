#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/notices/ScreenChoice.h"

namespace nimbrel {
namespace {

struct IdentifierCase {
    const char* name;
    std::string identifier;
    ScreenChoice::Kind kind;
    std::string uuid;
};

class ScreenChoiceIdentifier : public testing::TestWithParam<IdentifierCase> {};

TEST_P(ScreenChoiceIdentifier, MapsTheStoredStringAndBack) {
    const IdentifierCase& c = GetParam();
    ScreenChoice choice = ScreenChoice::fromIdentifier(c.identifier);
    EXPECT_EQ(choice.kind(), c.kind);
    EXPECT_EQ(choice.displayUUID(), c.uuid);
    EXPECT_EQ(choice.identifier(), c.identifier);
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, ScreenChoiceIdentifier,
    testing::Values(
        IdentifierCase{"emptyIsOriginal", "", ScreenChoice::Kind::original, ""},
        IdentifierCase{"mouse", "mouse", ScreenChoice::Kind::mouse, ""},
        IdentifierCase{"uuidIsDisplay", "37D8832A-2D66-02CA-B9F7-8F30A301B230",
                       ScreenChoice::Kind::display, "37D8832A-2D66-02CA-B9F7-8F30A301B230"},
        IdentifierCase{"otherCaseIsADisplay", "Mouse", ScreenChoice::Kind::display, "Mouse"},
        IdentifierCase{"spaceIsADisplay", " ", ScreenChoice::Kind::display, " "}),
    [](const auto& info) { return std::string(info.param.name); });

// Screen space: the primary 1440 × 900 at the origin, a second one to its right, lower.
const std::vector<Screen> kScreens = {
    {{0, 0, 1440, 900}, {0, 0, 1440, 875}, 1, "UUID-MAIN"},
    {{1440, -180, 1920, 1080}, {1440, -180, 1920, 1055}, 2, "UUID-SIDE"},
};

struct ResolveCase {
    const char* name;
    ScreenChoice choice;
    Point mouse;
    std::vector<Screen> screens;
    std::optional<std::uint32_t> expected;  // display id
};

class ScreenChoiceResolve : public testing::TestWithParam<ResolveCase> {};

TEST_P(ScreenChoiceResolve, SelectsTheScreenOfTheTable) {
    const ResolveCase& c = GetParam();
    auto screen = c.choice.resolve(c.screens, c.mouse);
    ASSERT_EQ(screen.has_value(), c.expected.has_value());
    if (screen) {
        EXPECT_EQ(screen->displayID, *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Resolution, ScreenChoiceResolve,
    testing::Values(
        ResolveCase{"displayConnected", ScreenChoice::display("UUID-SIDE"), {10, 10}, kScreens, 2},
        ResolveCase{"displayDisconnected",
                    ScreenChoice::display("UUID-GONE"),
                    {10, 10},
                    kScreens,
                    std::nullopt},
        ResolveCase{"originalIsNone", ScreenChoice::original(), {10, 10}, kScreens, std::nullopt},
        ResolveCase{"mouseOnSecond", ScreenChoice::mouse(), {2000, -100}, kScreens, 2},
        ResolveCase{"mouseOnFarEdgeIsOnTheNext", ScreenChoice::mouse(), {1440, 10}, kScreens, 2},
        ResolveCase{"mouseOffEveryScreen", ScreenChoice::mouse(), {-5, 10}, kScreens, std::nullopt},
        ResolveCase{"emptyUUIDNeverMatches",
                    ScreenChoice::display(""),
                    {10, 10},
                    {{{0, 0, 1440, 900}, {0, 0, 1440, 875}, 7, ""}},
                    std::nullopt},
        ResolveCase{"noScreens", ScreenChoice::mouse(), {10, 10}, {}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nimbrel
