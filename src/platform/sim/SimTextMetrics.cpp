#include "platform/sim/SimTextMetrics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/UnicodeText.h"

namespace nimbrel::sim {
namespace {

// Splits on one separator, keeping empty pieces: two separators in a row leave an empty piece.
template <typename Visit>
void forEachPiece(std::string_view text, char separator, Visit visit) {
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find(separator, start);
        visit(text.substr(start,
                          end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

}  // namespace

SimTextMetrics::StyleMetrics SimTextMetrics::metrics(FontStyle style) {
    switch (style) {
        case FontStyle::largeTitle:
            return {17, 41};
        case FontStyle::title:
            return {14, 34};
        case FontStyle::headline:
            return {8, 17};
        case FontStyle::body:
            return {7, 17};
        case FontStyle::callout:
            return {7, 16};
        case FontStyle::subheadline:
            return {6, 15};
        case FontStyle::footnote:
        case FontStyle::caption:
            return {6, 13};
    }
    return {7, 17};
}

Size SimTextMetrics::fittingSize(std::string_view utf8, FontStyle style, double maxWidth) {
    if (utf8.empty()) {
        return {};
    }
    const StyleMetrics m = metrics(style);
    // However narrow the limit, a line holds at least one character, or wrapping never ends.
    const std::size_t perLine =
        std::isinf(maxWidth)
            ? SIZE_MAX
            : std::max<std::size_t>(1, std::size_t(std::floor(maxWidth / m.characterWidth + 1e-9)));
    std::size_t widest = 0;
    std::size_t lines = 0;
    forEachPiece(utf8, '\n', [&](std::string_view paragraph) {
        std::size_t line = 0;  // characters on the current line
        bool lineHasWords = false;
        forEachPiece(paragraph, ' ', [&](std::string_view word) {
            std::size_t length = characterCount(word);
            if (lineHasWords && line + 1 + length <= perLine) {
                line += 1 + length;
                return;
            }
            if (lineHasWords) {
                widest = std::max(widest, line);
                ++lines;
            }
            while (length > perLine) {
                widest = std::max(widest, perLine);
                ++lines;
                length -= perLine;
            }
            line = length;
            lineHasWords = true;
        });
        widest = std::max(widest, line);
        ++lines;
    });
    return {double(widest) * m.characterWidth, double(lines) * m.lineHeight};
}

}  // namespace nimbrel::sim
