#pragma once

#include <limits>
#include <string_view>

#include "platform/Geometry.h"

namespace nimbrel {

// The platform's text styles, by their role rather than a point size, so that each platform (and
// the user's text-size setting) decides what they look like.
enum class FontStyle { largeTitle, title, headline, body, callout, subheadline, footnote, caption };

inline constexpr double kUnlimitedWidth = std::numeric_limits<double>::infinity();

// Measures texts as the platform would lay them out.
class TextMetrics {
  public:
    virtual ~TextMetrics() = default;
    // The size a text needs in the given style when it may not grow wider than `maxWidth`: longer
    // texts wrap onto further lines (at word boundaries where there are any). An empty text needs
    // no space at all.
    virtual Size fittingSize(std::string_view utf8, FontStyle style,
                             double maxWidth = kUnlimitedWidth) = 0;
};

}  // namespace nimbrel
