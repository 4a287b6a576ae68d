#include "platform/x11/qt/QtTextMetrics.h"

#include <QtGui/QFontMetricsF>
#include <QtGui/QGuiApplication>

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
    double size = font.pointSizeF() > 0 ? font.pointSizeF() : 10.0;
    font.setPointSizeF(size * look.scale);
    font.setBold(look.bold);
    return font;
}

Size QtTextMetrics::fittingSize(std::string_view utf8, FontStyle style, double maxWidth) {
    if (utf8.empty()) {
        return {0, 0};
    }
    QFontMetricsF metrics(font(style));
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    // Qt wants a finite box; one wider than any screen stands for no limit.
    double width = std::isfinite(maxWidth) && maxWidth > 0 ? maxWidth : 1.0e6;
    QRectF box = metrics.boundingRect(QRectF(0, 0, width, 1.0e6),
                                      Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    return {std::ceil(box.width()), std::ceil(box.height())};
}

}  // namespace nimbrel::x11
