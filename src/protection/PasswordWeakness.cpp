#include "protection/PasswordWeakness.h"

#include <memory>
#include <set>
#include <string>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace nimbrel {
namespace {

// User-perceived characters (grapheme clusters): "é" typed as e + accent is one character.
std::vector<icu::UnicodeString> characters(const icu::UnicodeString& text) {
    std::vector<icu::UnicodeString> out;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> it(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !it) {
        // Without break rules, code points are the closest approximation.
        for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
            out.emplace_back(text, i, text.moveIndex32(i, 1) - i);
        }
        return out;
    }
    it->setText(text);
    for (int32_t start = it->first(), end = it->next(); end != icu::BreakIterator::DONE;
         start = end, end = it->next()) {
        out.emplace_back(text, start, end - start);
    }
    return out;
}

bool repeatsShortPattern(const std::vector<icu::UnicodeString>& chars) {
    for (std::size_t period = 1; period <= 3; ++period) {
        bool repeats = true;
        for (std::size_t i = period; i < chars.size() && repeats; ++i) {
            repeats = chars[i] == chars[i % period];
        }
        if (repeats) {
            return true;
        }
    }
    return false;
}

bool isConsecutiveRun(const icu::UnicodeString& text) {
    std::vector<UChar32> scalars;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        scalars.push_back(text.char32At(i));
    }
    bool ascending = true;
    bool descending = true;
    for (std::size_t i = 1; i < scalars.size(); ++i) {
        ascending = ascending && scalars[i] == scalars[i - 1] + 1;
        descending = descending && scalars[i] == scalars[i - 1] - 1;
    }
    return ascending || descending;
}

}  // namespace

const std::vector<std::string_view>& commonPasswords() {
    // Lowercase letters and digits, 7 to 10 long: what people pick first and lists try first.
    static const std::vector<std::string_view> list = {
        // digits
        "1234567", "12345678", "123456789", "1234567890", "987654321", "12341234", "11223344",
        "12344321",
        // letters
        "password", "iloveyou", "sunshine", "princess", "football", "baseball", "welcome",
        "superman", "qwertyuiop", "letmein", "starwars",
        // letters and digits
        "password1", "passw0rd", "abc12345", "qwerty123", "trustno1", "1q2w3e4r", "1qaz2wsx",
        "zaq12wsx", "abcd1234", "a1b2c3d4", "iloveyou1", "welcome1", "letmein1", "monkey123",
        "dragon123", "asdf1234", "q1w2e3r4t5", "123qweasd"};
    return list;
}

std::optional<PasswordWeakness> passwordWeakness(std::string_view candidate) {
    auto text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(candidate.data(), static_cast<int32_t>(candidate.size())));
    if (characters(text).size() < kMinimumPasswordLength) {
        return PasswordWeakness::tooShort;
    }
    icu::UnicodeString lower = text;
    lower.toLower(icu::Locale::getRoot());
    std::string lowerUtf8;
    lower.toUTF8String(lowerUtf8);
    static const std::set<std::string_view> common(commonPasswords().begin(),
                                                   commonPasswords().end());
    if (common.count(lowerUtf8) != 0 || repeatsShortPattern(characters(lower)) ||
        isConsecutiveRun(lower)) {
        return PasswordWeakness::tooCommon;
    }
    return std::nullopt;
}

}  // namespace nimbrel
