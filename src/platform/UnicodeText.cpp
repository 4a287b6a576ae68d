#include "platform/UnicodeText.h"

#include <memory>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
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

// Composed before folding, so that İ is one character that a Turkic folding turns into i (as I
// and a combining dot it would fold to ı and a dot); composed again after, since folding undoes
// composition here and there (a folded ǰ is j and a combining caron). Two texts then fold alike
// exactly when they are the same text without regard to case.
std::u16string foldedText(std::string_view utf8, CaseFolding folding) {
    auto text = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size())));
    uint32_t options =
        folding == CaseFolding::turkic ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    icu::UnicodeString result;
    if (U_SUCCESS(status)) {
        icu::UnicodeString composed = nfc->normalize(text, status);
        composed.foldCase(options);
        result = nfc->normalize(composed, status);
    }
    if (U_FAILURE(status)) {
        // Without normalisation data, plain folding still ignores case in composed text.
        result = text;
        result.foldCase(options);
    }
    return std::u16string(result.getBuffer(), result.getBuffer() + result.length());
}

// A combining mark continues the character before it.
bool continuesCharacter(const std::u16string& text, std::size_t at) {
    if (at >= text.size()) {
        return false;
    }
    UChar32 c = text[at];
    if (U16_IS_LEAD(c) && at + 1 < text.size() && U16_IS_TRAIL(text[at + 1])) {
        c = U16_GET_SUPPLEMENTARY(c, text[at + 1]);
    }
    return u_hasBinaryProperty(c, UCHAR_GRAPHEME_EXTEND) != 0;
}

}  // namespace

CaseFolding caseFoldingFor(std::string_view locale) {
    std::string language = icu::Locale(std::string(locale).c_str()).getLanguage();
    return language == "tr" || language == "az" ? CaseFolding::turkic : CaseFolding::standard;
}

CaselessText::CaselessText(std::string_view utf8, CaseFolding folding)
    : folded_(foldedText(utf8, folding)) {}

bool CaselessText::contains(const CaselessText& part) const {
    if (part.folded_.empty()) {
        return false;
    }
    for (std::size_t at = folded_.find(part.folded_); at != std::u16string::npos;
         at = folded_.find(part.folded_, at + 1)) {
        if (!continuesCharacter(folded_, at) &&
            !continuesCharacter(folded_, at + part.folded_.size())) {
            return true;
        }
    }
    return false;
}

bool containsIgnoringCase(std::string_view text, std::string_view part, CaseFolding folding) {
    return CaselessText(text, folding).contains(CaselessText(part, folding));
}

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
