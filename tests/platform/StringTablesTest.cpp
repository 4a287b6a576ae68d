#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/BundledStrings.h"
#include "platform/Localizer.h"

namespace nimbrel {
namespace {

std::set<std::string> keysUsedInSources() {
    std::set<std::string> keys;
    const std::regex literal(R"re("([^"\\]+)"_key)re");
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(NIMBREL_SOURCE_DIR) + "/src")) {
        auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) {
            continue;
        }
        std::ifstream in(entry.path());
        std::stringstream buffer;
        buffer << in.rdbuf();
        std::string text = buffer.str();
        for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it) {
            keys.insert((*it)[1].str());
        }
    }
    return keys;
}

TEST(StringTables, EveryKeyTheCodeUsesHasAnEnglishText) {
    BundledStrings english;
    ASSERT_FALSE(english.all().empty()) << "the embedded tables did not parse";
    for (const auto& key : keysUsedInSources()) {
        EXPECT_TRUE(english.format(key).has_value()) << "no English text for " << key;
    }
}

TEST(StringTables, EnglishTextsAreNotEmpty) {
    BundledStrings english;
    for (const auto& [key, text] : english.all()) {
        EXPECT_FALSE(text.empty()) << key;
    }
}

struct FillCase {
    const char* name;
    const char* format;
    std::vector<StringArg> args;
    const char* expected;
};

class LocalizerFill : public testing::TestWithParam<FillCase> {};

TEST_P(LocalizerFill, FillsFormats) {
    EXPECT_EQ(Localizer::fill(GetParam().format, GetParam().args), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, LocalizerFill,
    testing::Values(FillCase{"plain", "no arguments", {}, "no arguments"},
                    FillCase{"sequential", "%@ hid %ld", {std::string("Idle"), 3LL}, "Idle hid 3"},
                    FillCase{"positional", "%2$@ / %1$@", {std::string("a"), std::string("b")}, "b / a"},
                    FillCase{"percent", "100%% of %d", {7LL}, "100% of 7"},
                    FillCase{"missingArgument", "%@ and %@", {std::string("one")}, "one and "},
                    FillCase{"unknownConversion", "%x stays", {}, "%x stays"},
                    FillCase{"trailingPercent", "ends in %", {}, "ends in %"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Localizer, KeysLanguageShowsKeysAndNestedArguments) {
    Localizer keys(nullptr);
    std::string inner = keys.text("hud.designated.keys"_key, {std::string("⌃⌘E")});
    EXPECT_EQ(keys.text("hud.designated.detail"_key, {std::string("Safari — Bank"), inner}),
              "{hud.designated.detail|Safari — Bank|{hud.designated.keys|⌃⌘E}}");
    EXPECT_EQ(keys.text("menu.hideFocused"_key), "{menu.hideFocused}");
}

TEST(Localizer, EnglishFillsTheTableAndFallsBackToTheKey) {
    BundledStrings english;
    Localizer en(&english);
    EXPECT_EQ(en.text("window.label.titled"_key, {std::string("Safari"), std::string("Bank")}),
              "Safari — Bank");
    EXPECT_EQ(en.text(StringKey{"no.such.key"}), "no.such.key");
}

}  // namespace
}  // namespace nimbrel
