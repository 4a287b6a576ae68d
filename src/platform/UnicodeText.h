#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nimbrel {

// Length of a UTF-8 text in user-perceived characters (an emoji with modifiers counts once).
std::size_t characterCount(std::string_view utf8);

// The text unchanged when it has at most `limit` user-perceived characters; otherwise its first
// `limit - 1` characters followed by "…", `limit` characters in all.
std::string truncatedWithEllipsis(std::string_view utf8, std::size_t limit);

// How upper and lower case pair up: the same everywhere except in Turkish and Azerbaijani, where
// I pairs with dotless ı and İ with i.
enum class CaseFolding { standard, turkic };
CaseFolding caseFoldingFor(std::string_view locale);

// A text made ready for containment that ignores case, as the user's language pairs cases:
// canonically equivalent spellings (é composed or as e and an accent) are one, accents still
// count. Preparing a text costs more than a search, so a text searched many times is prepared once.
class CaselessText {
  public:
    CaselessText() = default;
    explicit CaselessText(std::string_view utf8, CaseFolding folding = CaseFolding::standard);

    bool isEmpty() const { return folded_.empty(); }
    // Whether `part` occurs in the text as whole characters: "e" is not found in "é", even when
    // "é" is written as e and a combining accent. An empty part is never found.
    bool contains(const CaselessText& part) const;

  private:
    std::u16string folded_;
};

// Preparing both texts for one search.
bool containsIgnoringCase(std::string_view text, std::string_view part,
                          CaseFolding folding = CaseFolding::standard);

}  // namespace nimbrel
