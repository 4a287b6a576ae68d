#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/notices/NoticeTexts.h"
#include "platform/BundledStrings.h"

namespace nimbrel {
namespace {

struct TextCase {
    const char* name;
    std::function<HUDContent(const NoticeTexts&)> make;
    std::string title;
    std::string detail;
};

class NoticeTextsKeys : public testing::TestWithParam<TextCase> {};

// The keys language shows which key and which arguments each notice picked.
TEST_P(NoticeTextsKeys, PicksTheKeysOfTheSituation) {
    Localizer keys(nullptr);
    HUDContent content = GetParam().make(NoticeTexts(keys));
    EXPECT_EQ(content.title, GetParam().title);
    EXPECT_EQ(content.detail, GetParam().detail);
}

INSTANTIATE_TEST_SUITE_P(
    Notices, NoticeTextsKeys,
    testing::Values(
        TextCase{"focusOnNoneKept", [](const NoticeTexts& t) { return t.focusOn({}); },
                 "{hud.focusOn.title}", "{hud.focusOn.none}"},
        TextCase{"focusOnKept",
                 [](const NoticeTexts& t) {
                     return t.focusOn({"Mail", "Notes"});
                 },
                 "{hud.focusOn.title}", "{hud.focusOn.kept|Mail, Notes}"},
        TextCase{
            "designatedWithShortcut",
            [](const NoticeTexts& t) { return t.designated("Safari — Bank", std::string("⌃⌘E")); },
            "{hud.designated.title}",
            "{hud.designated.detail|Safari — Bank|{hud.designated.keys|⌃⌘E}}"},
        TextCase{"designatedWithoutShortcut",
                 [](const NoticeTexts& t) { return t.designated("Safari — Bank", std::nullopt); },
                 "{hud.designated.title}",
                 "{hud.designated.detail|Safari — Bank|{hud.designated.noShortcut}}"},
        TextCase{"unassignedShowsTheLabel",
                 [](const NoticeTexts& t) { return t.unassigned("Bank"); },
                 "{hud.unassigned.title}", "Bank"},
        TextCase{"regionSavedWithShortcut",
                 [](const NoticeTexts& t) { return t.regionSaved("Chat", std::string("⌃⌘R")); },
                 "{hud.region.saved.title|Chat}", "{hud.region.saved.keys|⌃⌘R}"},
        TextCase{"regionSavedWithoutShortcut",
                 [](const NoticeTexts& t) { return t.regionSaved("Chat", std::nullopt); },
                 "{hud.region.saved.title|Chat}", "{hud.region.saved.menu}"},
        TextCase{"regionAppliedAll", [](const NoticeTexts& t) { return t.regionApplied(3, 0); },
                 "{hud.region.applied.title|3}", ""},
        TextCase{"regionAppliedSomeMissing",
                 [](const NoticeTexts& t) { return t.regionApplied(2, 1); },
                 "{hud.region.applied.title|2}", "{hud.region.applied.missing|1}"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NoticeTexts, EnglishTextsTakeTheirArguments) {
    BundledStrings english;
    Localizer strings(&english);
    NoticeTexts texts(strings);
    HUDContent designated = texts.designated("Safari — Bank", std::string("⌃⌘E"));
    EXPECT_NE(designated.detail.find("Safari — Bank"), std::string::npos);
    EXPECT_NE(designated.detail.find("⌃⌘E"), std::string::npos);
    EXPECT_NE(texts.regionApplied(2, 1).title.find('2'), std::string::npos);
    EXPECT_NE(texts.regionApplied(2, 1).detail.find('1'), std::string::npos);
    EXPECT_NE(texts.wholeApp("Safari").detail.find("Safari"), std::string::npos);
    EXPECT_FALSE(texts.resumed().title.empty());
}

}  // namespace
}  // namespace nimbrel
