#pragma once

#include <QtCore/QSizeF>
#include <QtGui/QFont>

#include "platform/TextMetrics.h"

class QTextLayout;

namespace nimbrel::x11 {

// Text styles are sizes relative to the desktop's own font, so the user's font settings scale
// every one of them; texts are measured as Qt lays them out.
class QtTextMetrics final : public TextMetrics {
  public:
    Size fittingSize(std::string_view utf8, FontStyle style, double maxWidth) override;

    // The font a style is drawn in, for whoever draws the measured text.
    static QFont font(FontStyle style);

    // Lays the text out in the style's font, in lines no wider than `maxWidth` from the top-left
    // corner, and answers the size they take. Whoever draws a measured text lays it out here
    // again, so the lines break where the measurement assumed.
    static QSizeF layOut(QTextLayout& layout, std::string_view utf8, FontStyle style,
                         double maxWidth);
};

}  // namespace nimbrel::x11
