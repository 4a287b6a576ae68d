#include "settings/TextRules.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace nimbrel::text {
namespace {

icu::UnicodeString fromUtf8(std::string_view utf8) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
}

std::string toUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

template <typename IsTrimmed>
std::string trimmedBy(std::string_view utf8, IsTrimmed isTrimmed) {
    icu::UnicodeString text = fromUtf8(utf8);
    int32_t start = 0;
    int32_t end = text.length();
    while (start < end && isTrimmed(text.char32At(start))) {
        start = text.moveIndex32(start, 1);
    }
    while (end > start) {
        int32_t previous = text.moveIndex32(end, -1);
        if (!isTrimmed(text.char32At(previous))) {
            break;
        }
        end = previous;
    }
    return toUtf8(text.tempSubStringBetween(start, end));
}

}  // namespace

std::string trimmed(std::string_view utf8) {
    return trimmedBy(utf8, [](UChar32 c) { return u_isUWhiteSpace(c) != 0; });
}

std::string trimmedSpacesAndTabs(std::string_view utf8) {
    return trimmedBy(utf8, [](UChar32 c) { return c == ' ' || c == '\t'; });
}

std::string upperCased(std::string_view utf8) {
    icu::UnicodeString text = fromUtf8(utf8);
    text.toUpper(icu::Locale::getRoot());
    return toUtf8(text);
}

std::string lowerCased(std::string_view utf8) {
    icu::UnicodeString text = fromUtf8(utf8);
    text.toLower(icu::Locale::getRoot());
    return toUtf8(text);
}

}  // namespace nimbrel::text
