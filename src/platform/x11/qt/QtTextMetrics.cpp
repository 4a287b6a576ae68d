#include "platform/x11/qt/QtTextMetrics.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QTextLayout>

#include <algorithm>
#include <cmath>

namespace nimbrel::x11 {
namespace {

struct StyleLook {
    double scale;  // of the desktop font's size
    bool bold;
};

StyleLook lookOf(FontStyle style) {
    switch (style) {
        case FontStyle::largeTitle:
            return {2.0, false};
        case FontStyle::title:
            return {1.7, false};
        case FontStyle::headline:
            return {1.0, true};
        case FontStyle::body:
            return {1.0, false};
        case FontStyle::callout:
            return {0.92, false};
        case FontStyle::subheadline:
            return {0.85, false};
        case FontStyle::footnote:
            return {0.77, false};
        case FontStyle::caption:
            return {0.77, false};
    }
    return {1.0, false};
}

}  // namespace

QFont QtTextMetrics::font(FontStyle style) {
    QFont font = QGuiApplication::font();
    StyleLook look = lookOf(style);
    // A desktop font given in pixels has no point size; scaling it as one would lose the user's
    // size.
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * look.scale);
    } else if (font.pixelSize() > 0) {
        font.setPixelSize(
            std::max(1, static_cast<int>(std::lround(font.pixelSize() * look.scale))));
    } else {
        font.setPointSizeF(10.0 * look.scale);
    }
    font.setBold(look.bold);
    return font;
}

QSizeF QtTextMetrics::layOut(QTextLayout& layout, std::string_view utf8, FontStyle style,
                             double maxWidth) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    // A layout breaks lines only at line separators, not at the newlines a caller writes.
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    layout.setText(text);
    layout.setFont(font(style));
    QTextOption option;
    // A word longer than the line still breaks, or it would run past the width it was given.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    // Qt wants a finite line; one wider than any screen stands for no limit.
    double width = std::isfinite(maxWidth) && maxWidth > 0 ? maxWidth : 1.0e6;
    double height = 0;
    double widest = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
        widest = std::max(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return {widest, height};
}

Size QtTextMetrics::fittingSize(std::string_view utf8, FontStyle style, double maxWidth) {
    if (utf8.empty()) {
        return {0, 0};
    }
    QTextLayout layout;
    QSizeF size = layOut(layout, utf8, style, maxWidth);
    return {std::ceil(size.width()), std::ceil(size.height())};
}

}  // namespace nimbrel::x11
