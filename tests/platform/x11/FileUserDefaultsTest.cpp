#include "platform/x11/FileUserDefaults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/x11/PrivateFolder.h"

namespace nimbrel::test {
namespace {

using ::testing::HasSubstr;
using x11::FileUserDefaults;
using x11::PrivateFile;

class FileUserDefaultsTest : public ::testing::Test {
  protected:
    std::filesystem::path file() const { return folder / "config" / "nimbrel" / "defaults.json"; }
    FileUserDefaults open() { return FileUserDefaults(PrivateFile(file()), log); }

    PrivateFolder folder;
    RecordingLog log;
};

TEST_F(FileUserDefaultsTest, WhatIsStoredIsReadBackByTheNextRunInAPrivateFile) {
    const std::string binary("\xff\x00\x01 not text", 12);
    {
        auto defaults = open();
        defaults.setData("settings.v1", R"({"useCover":true})");
        defaults.setData("record", binary);
        defaults.setValue("count", Json(3));
        defaults.setValue("gone", Json("soon"));
        defaults.remove("gone");
    }
    auto defaults = open();
    EXPECT_EQ(defaults.data("settings.v1"), R"({"useCover":true})");
    EXPECT_EQ(defaults.data("record"), binary);
    EXPECT_EQ(defaults.value("count"), Json(3));
    EXPECT_EQ(defaults.value("gone"), std::nullopt);
    // Data and values are separate kinds, as on the desktop the store stands for.
    EXPECT_EQ(defaults.value("settings.v1"), std::nullopt);
    EXPECT_EQ(defaults.data("count"), std::nullopt);

    EXPECT_EQ(modeOf(file()), 0600u);
    EXPECT_EQ(modeOf(file().parent_path()), 0700u);
    EXPECT_FALSE(std::filesystem::exists(file().string() + ".tmp"));
    // Text stays readable in the file.
    EXPECT_THAT(fileText(file()), HasSubstr(R"(\"useCover\":true)"));
}

TEST_F(FileUserDefaultsTest, ADamagedFileIsKeptAsideUnderANewNameAndNeverWrittenOver) {
    // Far too deep to be a document the program wrote; read as damaged, never built.
    writeText(file(), "{\"a\":" + std::string(100000, '[') + std::string(100000, ']') + "}");
    EXPECT_EQ(open().value("a"), std::nullopt);
    EXPECT_TRUE(std::filesystem::exists(file().string() + ".damaged-1"));
    std::filesystem::remove(file().string() + ".damaged-1");

    writeText(file(), "{\"settings.v1\": {\"text\": ");
    writeText(file().string() + ".damaged-1", "an earlier one");
    {
        auto defaults = open();
        EXPECT_EQ(defaults.data("settings.v1"), std::nullopt);
        defaults.setValue("fresh", Json(true));
    }
    EXPECT_EQ(fileText(file().string() + ".damaged-1"), "an earlier one");
    EXPECT_EQ(fileText(file().string() + ".damaged-2"), "{\"settings.v1\": {\"text\": ");
    EXPECT_EQ(open().value("fresh"), Json(true));
    ASSERT_FALSE(log.lines.empty());
    EXPECT_THAT(log.lines.front(), HasSubstr("kept as"));
}

TEST_F(FileUserDefaultsTest, AFileThatCannotBeReadIsLeftAloneAndChangesLastOneRun) {
    // A folder in the file's place fails every read, as a disk error would.
    std::filesystem::create_directories(file());
    auto defaults = open();
    defaults.setValue("count", Json(1));
    EXPECT_EQ(defaults.value("count"), Json(1));
    EXPECT_TRUE(std::filesystem::is_directory(file()));
    EXPECT_THAT(log.lines.front(), HasSubstr("cannot read"));
}

TEST_F(FileUserDefaultsTest, EntriesOfAnUnknownShapeReadAsAbsentAndSurviveARewrite) {
    writeText(file(), R"({"later": {"someday": 1}, "other": 5})");
    {
        auto defaults = open();
        EXPECT_EQ(defaults.data("later"), std::nullopt);
        EXPECT_EQ(defaults.value("other"), std::nullopt);
        defaults.setValue("count", Json(2));
    }
    Json stored = Json::parse(fileText(file()));
    EXPECT_EQ(stored["later"], Json::parse(R"({"someday": 1})"));
    EXPECT_EQ(stored["other"], Json(5));
}

}  // namespace
}  // namespace nimbrel::test
