#include <algorithm>
#include <set>

#include <gtest/gtest.h>

#include "protection/AppPassword.h"

namespace nimbrel {
namespace {

struct WeaknessCase {
    const char* name;
    const char* candidate;
    std::optional<PasswordWeakness> expected;
};

class Weakness : public ::testing::TestWithParam<WeaknessCase> {};

TEST_P(Weakness, JudgesTheCandidate) {
    EXPECT_EQ(AppPassword::weakness(GetParam().candidate), GetParam().expected)
        << GetParam().candidate;
}

constexpr auto tooShort = PasswordWeakness::tooShort;
constexpr auto tooCommon = PasswordWeakness::tooCommon;

INSTANTIATE_TEST_SUITE_P(
    Rules, Weakness,
    ::testing::Values(
        WeaknessCase{"empty", "", tooShort},
        WeaknessCase{"sevenCharactersEvenIfCommon", "letmein", tooShort},
        WeaknessCase{"sevenLettersWithAccentsCountAsCharacters", "cre\xCC\x80me b", tooShort},
        WeaknessCase{"eightCharactersInMoreBytes", "\xC3\xA9t\xC3\xA9 \xC3\xA0 rome", std::nullopt},
        WeaknessCase{"listed", "password", tooCommon},
        WeaknessCase{"listedInCapitals", "PassWord1", tooCommon},
        WeaknessCase{"listedTenLong", "1234567890", tooCommon},
        WeaknessCase{"oneCharacterRepeated", "zzzzzzzzzz", tooCommon},
        WeaknessCase{"twoCharacterPattern", "abababab", tooCommon},
        WeaknessCase{"twoCharacterPatternMixedCase", "aBAbaBAb", tooCommon},
        WeaknessCase{"twoCharacterPatternOddLength", "xyxyxyxyx", tooCommon},
        WeaknessCase{"threeCharacterPattern", "ab1ab1ab1", tooCommon},
        WeaknessCase{"fourCharacterPatternIsAllowed", "ab12ab12x", std::nullopt},
        WeaknessCase{"ascendingDigits", "23456789", tooCommon},
        WeaknessCase{"descendingDigits", "98765432", tooCommon},
        WeaknessCase{"ascendingLetters", "cdefghij", tooCommon},
        WeaknessCase{"descendingLettersInCapitals", "ZYXWVUTS", tooCommon},
        WeaknessCase{"runBrokenOnce", "abcdefgz", std::nullopt},
        WeaknessCase{"ordinaryPassphrase", "violet harbour 31", std::nullopt},
        WeaknessCase{"spacesAreCharacters", "a b c d ", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommonPasswords, HasTheStatedKindsAndEveryEntryIsRefused) {
    const auto& list = commonPasswords();
    EXPECT_EQ(list.size(), 37u);
    EXPECT_EQ(std::set<std::string_view>(list.begin(), list.end()).size(), list.size());
    int digits = 0;
    int letters = 0;
    int mixed = 0;
    for (auto entry : list) {
        EXPECT_GE(entry.size(), 7u) << entry;
        EXPECT_LE(entry.size(), 10u) << entry;
        bool allDigits =
            std::all_of(entry.begin(), entry.end(), [](char c) { return c >= '0' && c <= '9'; });
        bool allLetters =
            std::all_of(entry.begin(), entry.end(), [](char c) { return c >= 'a' && c <= 'z'; });
        bool lettersAndDigits = std::all_of(entry.begin(), entry.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        });
        EXPECT_TRUE(lettersAndDigits) << entry;
        digits += allDigits;
        letters += allLetters;
        mixed += lettersAndDigits && !allDigits && !allLetters;
        if (entry.size() >= 8) {
            EXPECT_EQ(AppPassword::weakness(entry), PasswordWeakness::tooCommon) << entry;
        }
    }
    EXPECT_EQ(digits, 8);
    EXPECT_EQ(letters, 11);
    EXPECT_EQ(mixed, 18);
}

}  // namespace
}  // namespace nimbrel
