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

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::set<std::string> keysUsedInSources() {
    std::set<std::string> keys;
    for (const char* folder : {"/src", "/tools"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(
                 std::string(NIMBREL_SOURCE_DIR) + folder)) {
            auto ext = entry.path().extension();
            if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) {
                collectKeys(readFile(entry.path()), keys);
            }
        }
    }
    return keys;
}

std::filesystem::path englishTablesFolder() {
    return std::filesystem::path(NIMBREL_SOURCE_DIR) / "resources" / "strings" / "en";
}

TEST(StringTables, EveryKeyTheCodeUsesHasAnEnglishText) {
    BundledStrings english;
    ASSERT_FALSE(english.all().empty()) << "the embedded tables did not parse";
    for (const auto& key : keysUsedInSources()) {
        EXPECT_TRUE(english.format(key).has_value()) << "no English text for " << key;
    }
}

// A text waits in the design until the code that shows it lands: a table entry no code uses is
// either dead or a key the code misspells.
TEST(StringTables, EveryEnglishTextIsUsedByTheCode) {
    BundledStrings english;
    auto used = keysUsedInSources();
    for (const auto& [key, text] : english.all()) {
        EXPECT_TRUE(used.count(key)) << key << " has a text but no code uses it";
    }
}

// One table per key prefix, so that a reader finds a text by its key's first word.
TEST(StringTables, EachTableHoldsTheKeysOfItsPrefix) {
    int tables = 0;
    for (const auto& entry : std::filesystem::directory_iterator(englishTablesFolder())) {
        if (entry.path().extension() != ".json") {
            continue;
        }
        ++tables;
        std::string prefix = entry.path().stem().string() + ".";
        auto json = nlohmann::json::parse(readFile(entry.path()), nullptr, false);
        ASSERT_TRUE(json.is_object()) << entry.path();
        for (const auto& [key, value] : json.items()) {
            EXPECT_EQ(key.rfind(prefix, 0), 0u) << key << " is in " << entry.path().filename();
        }
    }
    EXPECT_GT(tables, 0);
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
