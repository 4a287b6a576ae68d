#include "platform/UnicodeText.h"

#include <memory>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace nimbrel {
namespace {

// Offsets (in UTF-16 units) of every character boundary after the start.
template <typename Visit>
void forEachBoundary(const icu::UnicodeString& text, Visit visit) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> it(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !it) {
        // Without break data fall back to code points, which is never wrong for plain text.
        for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
            if (!visit(text.moveIndex32(i, 1))) {
                return;
            }
        }
        return;
    }
    it->setText(text);
    it->first();
    for (int32_t end = it->next(); end != icu::BreakIterator::DONE; end = it->next()) {
        if (!visit(end)) {
            return;
        }
    }
}

}  // namespace

std::size_t characterCount(std::string_view utf8) {
    auto text = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size())));
    std::size_t count = 0;
    forEachBoundary(text, [&](int32_t) {
        ++count;
        return true;
    });
    return count;
}

std::string truncatedWithEllipsis(std::string_view utf8, std::size_t limit) {
    if (limit == 0) {
        return {};
    }
    auto text = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size())));
    std::size_t count = 0;
    int32_t cut = 0;
    bool tooLong = false;
    forEachBoundary(text, [&](int32_t end) {
        ++count;
        if (count == limit - 1) {
            cut = end;
        }
        if (count > limit) {
            tooLong = true;
            return false;
        }
        return true;
    });
    if (!tooLong) {
        return std::string(utf8);
    }
    std::string out;
    text.tempSubString(0, cut).toUTF8String(out);
    out += "…";
    return out;
}

}  // namespace nimbrel
