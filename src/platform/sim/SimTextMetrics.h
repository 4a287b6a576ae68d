#pragma once

#include "platform/TextMetrics.h"

namespace nimbrel::sim {

// Text measuring that a test can work out by hand: every user-perceived character of a style has
// the same width and every line the same height. Lines wrap at spaces; a word wider than the
// limit is broken between characters. "\n" starts a new line.
class SimTextMetrics final : public TextMetrics {
  public:
    struct StyleMetrics {
        double characterWidth;
        double lineHeight;
    };
    static StyleMetrics metrics(FontStyle style);

    Size fittingSize(std::string_view utf8, FontStyle style, double maxWidth) override;
};

}  // namespace nimbrel::sim
