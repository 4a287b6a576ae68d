#include <string>

#include <gtest/gtest.h>

#include "app/HotCornerTrigger.h"
#include "app/screenshare/ScreenShareHint.h"
#include "platform/UnicodeText.h"

namespace nimbrel {
namespace {

// Screen space, y up: a 1440 x 900 primary screen, and one to its right whose top is 180 points
// higher, so that its frame starts below the primary's origin.
const Rect kPrimary{0, 0, 1440, 900};
const Rect kRaised{1440, -180, 1920, 1080};

struct CornerCase {
    const char* name;
    HotCorner corner;
    Rect frame;
    Point pointer;
    bool fires;
};

class HotCornerBand : public testing::TestWithParam<CornerCase> {};

TEST_P(HotCornerBand, FiresWithinFourPointsOfBothEdges) {
    const CornerCase& c = GetParam();
    EXPECT_EQ(HotCornerTrigger::isInCorner(c.corner, c.pointer, c.frame), c.fires);
}

INSTANTIATE_TEST_SUITE_P(
    Corners, HotCornerBand,
    testing::Values(
        CornerCase{"topLeftAtExactlyFour", HotCorner::topLeft, kPrimary, {4, 896}, true},
        CornerCase{"topLeftJustRight", HotCorner::topLeft, kPrimary, {4.01, 896}, false},
        CornerCase{"topLeftJustLow", HotCorner::topLeft, kPrimary, {4, 895.99}, false},
        CornerCase{"topRightOnTheEdges", HotCorner::topRight, kPrimary, {1440, 900}, true},
        CornerCase{"topRightJustLeft", HotCorner::topRight, kPrimary, {1435.99, 900}, false},
        CornerCase{"bottomLeft", HotCorner::bottomLeft, kPrimary, {0, 4}, true},
        CornerCase{"bottomRight", HotCorner::bottomRight, kPrimary, {1436, 0}, true},
        CornerCase{"bottomRightIsNotTopRight", HotCorner::topRight, kPrimary, {1436, 0}, false},
        CornerCase{"allCornersBottomLeft", HotCorner::allCorners, kPrimary, {2, 2}, true},
        CornerCase{"allCornersTopRight", HotCorner::allCorners, kPrimary, {1438, 898}, true},
        CornerCase{"allCornersNotMidEdge", HotCorner::allCorners, kPrimary, {720, 900}, false},
        CornerCase{"offNever", HotCorner::off, kPrimary, {0, 900}, false},
        CornerCase{"raisedScreenBottomLeft", HotCorner::bottomLeft, kRaised, {1444, -176}, true},
        CornerCase{
            "raisedScreenNotAtPrimaryOrigin", HotCorner::bottomLeft, kRaised, {1444, 0}, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct CaselessCase {
    const char* name;
    const char* text;
    const char* part;
    CaseFolding folding;
    bool found;
};

class CaselessContainment : public testing::TestWithParam<CaselessCase> {};

TEST_P(CaselessContainment, IgnoresCaseAsTheLanguagePairsIt) {
    const CaselessCase& c = GetParam();
    EXPECT_EQ(containsIgnoringCase(c.text, c.part, c.folding), c.found);
}

constexpr CaseFolding kStandard = CaseFolding::standard;
constexpr CaseFolding kTurkic = CaseFolding::turkic;

INSTANTIATE_TEST_SUITE_P(
    Texts, CaselessContainment,
    testing::Values(
        CaselessCase{"mixedCase", "Zoom — You Are SHARING", "you are sharing", kStandard, true},
        CaselessCase{"sharpSFoldsToSs", "STRASSE 12", "straße", kStandard, true},
        CaselessCase{"composedFindsDecomposed", "Café", "cafe\u0301", kStandard, true},
        CaselessCase{"accentsCount", "Café", "cafe", kStandard, false},
        CaselessCase{"neverHalfACharacter", "cafe\u0301 noir", "cafe", kStandard, false},
        CaselessCase{"wholeCharacterAfterAHalfOne", "cafe\u0301 cafe", "cafe", kStandard, true},
        CaselessCase{"accentedCapital", "ARRÊTER LE PARTAGE", "Arrêter le partage", kStandard,
                     true},
        CaselessCase{"hangulSyllables", "Zoom 화면 공유 중지", "공유 중지", kStandard, true},
        CaselessCase{"dottedCapitalTurkic", "İSTANBUL", "istanbul", kTurkic, true},
        CaselessCase{"dottedCapitalElsewhere", "İSTANBUL", "istanbul", kStandard, false},
        CaselessCase{"dotlessTurkic", "DIŞ", "dış", kTurkic, true},
        CaselessCase{"dotlessElsewhere", "DIŞ", "dış", kStandard, false},
        CaselessCase{"emptyPartNeverFound", "anything", "", kStandard, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CaseFoldingFor, TurkishAndAzerbaijaniPairIWithDotlessI) {
    EXPECT_EQ(caseFoldingFor("tr_TR"), CaseFolding::turkic);
    EXPECT_EQ(caseFoldingFor("az"), CaseFolding::turkic);
    EXPECT_EQ(caseFoldingFor("en_US"), CaseFolding::standard);
    EXPECT_EQ(caseFoldingFor(""), CaseFolding::standard);
}

struct SharingTitleCase {
    const char* name;
    const char* title;
    bool matches;
};

class SharingTitles : public testing::TestWithParam<SharingTitleCase> {};

TEST_P(SharingTitles, ContainAPhraseInAnyCase) {
    EXPECT_EQ(ScreenShareHint::matches(GetParam().title), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, SharingTitles,
    testing::Values(SharingTitleCase{"capitals", "YOU ARE SHARING", true},
                    SharingTitleCase{"insideLongerText", "Meeting — please stop share now", true},
                    SharingTitleCase{"plainApostrophe", "You're sharing your screen", true},
                    SharingTitleCase{"typographicApostrophe", "You\u2019re sharing", false},
                    SharingTitleCase{"german", "Zoom: FREIGABE BEENDEN", true},
                    SharingTitleCase{"spanishAccentedCapital", "ESTÁS COMPARTIENDO", true},
                    SharingTitleCase{"japanese", "画面共有中です", true},
                    SharingTitleCase{"korean", "화면을 공유하는 중입니다", true},
                    SharingTitleCase{"nearMiss", "Stop sharin", false},
                    SharingTitleCase{"ordinaryTitle", "Quarterly report", false},
                    SharingTitleCase{"empty", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenShareHintTables, HoldTheMeetingToolsAndPhrases) {
    const auto& apps = ScreenShareHint::meetingApps();
    EXPECT_EQ(apps.size(), 6u);
    for (const char* id : {"us.zoom.xos", "com.microsoft.teams2", "com.microsoft.teams",
                           "Cisco-Systems.Spark", "com.tinyspeck.slackmacgap", "com.hnc.Discord"}) {
        EXPECT_EQ(apps.count(id), 1u) << id;
    }
    const auto& phrases = ScreenShareHint::phrases();
    EXPECT_EQ(phrases.front(), "share toolbar");
    EXPECT_EQ(phrases[7], "you're sharing");
    EXPECT_EQ(phrases.back(), "compartiendo tu pantalla");
    // A title that is just the phrase matches: no phrase is lost in preparing it.
    for (std::string_view phrase : phrases) {
        EXPECT_TRUE(ScreenShareHint::matches(phrase)) << phrase;
    }
}

}  // namespace
}  // namespace nimbrel
