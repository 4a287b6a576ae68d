#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "platform/BundledStrings.h"
#include "platform/Localizer.h"

namespace nimbrel {

const std::vector<std::string_view>& englishStringTables();

namespace {

// Every "..."_key literal in the text. A plain scan, because a regular expression over a large
// file recurses deeply enough to exhaust the stack under the sanitizers.
void collectKeys(const std::string& text, std::set<std::string>& keys) {
    const std::string suffix = "\"_key";
    for (std::size_t end = text.find(suffix); end != std::string::npos;
         end = text.find(suffix, end + 1)) {
        std::size_t start = text.rfind('"', end - 1);
        if (start == std::string::npos || start + 1 >= end) {
            continue;
        }
        keys.insert(text.substr(start + 1, end - start - 1));
    }
}

std::set<std::string> keysUsedInSources() {
    std::set<std::string> keys;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(NIMBREL_SOURCE_DIR) + "/src")) {
        auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) {
            continue;
        }
        std::ifstream in(entry.path());
        std::stringstream buffer;
        buffer << in.rdbuf();
        collectKeys(buffer.str(), keys);
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

TEST(StringTables, FindsKeyLiterals) {
    std::set<std::string> keys;
    collectKeys(R"(text("a.b"_key, {x}); "plain"; other("c.d"_key))", keys);
    EXPECT_EQ(keys, (std::set<std::string>{"a.b", "c.d"}));
}

TEST(StringTables, EveryTableParsesAndNoKeyIsInTwoTables) {
    std::set<std::string> seen;
    for (auto table : englishStringTables()) {
        auto json = nlohmann::json::parse(table, nullptr, false);
        ASSERT_TRUE(json.is_object()) << table.substr(0, 80);
        for (const auto& [key, value] : json.items()) {
            EXPECT_TRUE(value.is_string()) << key;
            EXPECT_TRUE(seen.insert(key).second) << key << " is in more than one table";
        }
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
                    FillCase{
                        "positional", "%2$@ / %1$@", {std::string("a"), std::string("b")}, "b / a"},
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
