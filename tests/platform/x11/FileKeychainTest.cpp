#include "platform/x11/FileKeychain.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/x11/Base64.h"
#include "platform/x11/PrivateFolder.h"

namespace nimbrel::test {
namespace {

using ::testing::HasSubstr;
using x11::FileKeychain;
using x11::PrivateFile;

class FileKeychainTest : public ::testing::Test {
  protected:
    std::filesystem::path file() const { return folder / "data" / "nimbrel" / "keychain.json"; }
    FileKeychain open() { return FileKeychain(PrivateFile(file()), log); }

    std::optional<std::string> read(FileKeychain& keychain, KeychainStatus expected) {
        std::optional<std::string> data;
        EXPECT_EQ(keychain.copyMatching(query, data), expected);
        return data;
    }

    PrivateFolder folder;
    RecordingLog log;
    KeychainQuery query{"org.nimbrel", "password"};
    KeychainItem item{"org.nimbrel", "password", std::string("\x01\xff\x00record", 9), "Nimbrel",
                      KeychainAccessibility::whenUnlockedThisDeviceOnly};
};

TEST_F(FileKeychainTest, ItemsAnswerAsAKeychainDoesAndOutliveTheRun) {
    {
        auto keychain = open();
        read(keychain, KeychainStatus::itemNotFound);
        EXPECT_EQ(keychain.update(query, "x"), KeychainStatus::itemNotFound);
        EXPECT_EQ(keychain.remove(query), KeychainStatus::itemNotFound);
        EXPECT_EQ(keychain.add(item), KeychainStatus::success);
        EXPECT_EQ(keychain.add(item), KeychainStatus::duplicateItem);
        KeychainItem other = item;
        other.account = "other";
        EXPECT_EQ(keychain.add(other), KeychainStatus::success);
    }
    auto keychain = open();
    EXPECT_EQ(read(keychain, KeychainStatus::success), item.data);
    EXPECT_EQ(keychain.update(query, "new record"), KeychainStatus::success);
    EXPECT_EQ(read(keychain, KeychainStatus::success), "new record");
    EXPECT_EQ(keychain.remove(query), KeychainStatus::success);
    read(keychain, KeychainStatus::itemNotFound);
    std::optional<std::string> other;
    EXPECT_EQ(keychain.copyMatching({"org.nimbrel", "other"}, other), KeychainStatus::success);
    EXPECT_EQ(modeOf(file()), 0600u);
    EXPECT_EQ(modeOf(file().parent_path()), 0700u);
}

TEST_F(FileKeychainTest, ADamagedStoreFailsEveryCallAndIsNeverWrittenOver) {
    const std::string cases[] = {
        "[{\"service\": ",
        R"({"service": "org.nimbrel"})",
        R"([{"service": "org.nimbrel", "account": "password", "label": "", "data": "!!", "accessibility": "whenUnlocked"}])",
        R"([{"service": "org.nimbrel", "account": "password", "label": "", "data": "", "accessibility": "always"}])",
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(text);
        writeText(file(), text);
        log.lines.clear();
        auto keychain = open();
        read(keychain, KeychainStatus::failure);
        EXPECT_EQ(keychain.add(item), KeychainStatus::failure);
        EXPECT_EQ(keychain.remove(query), KeychainStatus::failure);
        EXPECT_EQ(fileText(file()), text);
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_THAT(log.lines.front(), HasSubstr("cannot read"));
    }
}

TEST(Base64Test, RoundTripsEveryLengthAndRejectsWhatIsNoEncoding) {
    for (const std::string& bytes : {std::string(), std::string("a"), std::string("ab"),
                                     std::string("abc"), std::string("\x00\xff\x10\x80", 4)}) {
        EXPECT_EQ(x11::fromBase64(x11::toBase64(bytes)), bytes);
    }
    EXPECT_EQ(x11::toBase64("ab"), "YWI=");
    for (const char* bad : {"abc", "a$b=", "===="}) {
        EXPECT_EQ(x11::fromBase64(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace nimbrel::test
