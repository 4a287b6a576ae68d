#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace nimbrel::console {

struct Word {
    std::string text;       // quotes removed, escapes resolved, brackets kept
    std::size_t begin = 0;  // offset of the word in the raw line
};

// One line of the console split into words. Words are separated by spaces; a double-quoted part
// may contain spaces (\" and \\ escape inside it) and loses its quotes; a part that starts with
// '[' runs to its matching ']', spaces included, brackets kept. Both may appear inside a word
// (title="Bank — Main", hidden=[a b]). A line whose first word starts with '#' is a comment.
struct LexedLine {
    std::string raw;
    std::vector<Word> words;

    bool empty() const { return words.empty(); }
    // The raw text from word `index` to the end of the line, trailing spaces dropped; empty when
    // there is no such word.
    std::string rest(std::size_t index) const;
};

// Throws ConsoleError on an unclosed quote or bracket.
LexedLine lexLine(const std::string& raw);

}  // namespace nimbrel::console
