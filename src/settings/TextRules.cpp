#include "settings/TextRules.h"

#include <memory>

#include <unicode/brkiter.h>
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

std::string cutWithEllipsis(std::string_view utf8, std::size_t limit) {
    if (limit == 0) {
        return {};
    }
    icu::UnicodeString text = fromUtf8(utf8);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> it(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    std::size_t count = 0;
    int32_t cut = 0;
    auto visit = [&](int32_t end) {
        ++count;
        if (count == limit - 1) {
            cut = end;
        }
        return count <= limit;
    };
    if (U_FAILURE(status) || !it) {
        // Without break data, code points are the next best characters.
        for (int32_t i = 0; i < text.length();) {
            i = text.moveIndex32(i, 1);
            if (!visit(i)) {
                break;
            }
        }
    } else {
        it->setText(text);
        it->first();
        for (int32_t end = it->next(); end != icu::BreakIterator::DONE; end = it->next()) {
            if (!visit(end)) {
                break;
            }
        }
    }
    if (count <= limit) {
        return std::string(utf8);
    }
    return toUtf8(text.tempSubString(0, cut)) + "…";
}

}  // namespace nimbrel::text
