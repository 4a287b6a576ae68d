#pragma once

#include <QtGui/QFont>

#include "platform/TextMetrics.h"

namespace nimbrel::x11 {

// Text styles are sizes relative to the desktop's own font, so the user's font settings scale
// every one of them; texts are measured as Qt lays them out.
class QtTextMetrics final : public TextMetrics {
  public:
    Size fittingSize(std::string_view utf8, FontStyle style, double maxWidth) override;

    // The font a style is drawn in, for whoever draws the measured text.
    static QFont font(FontStyle style);
};

}  // namespace nimbrel::x11
