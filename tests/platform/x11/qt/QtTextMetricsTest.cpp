#include "platform/x11/qt/QtTextMetrics.h"

#include <gtest/gtest.h>

#include <string>

namespace nimbrel::test {
namespace {

using x11::QtTextMetrics;

TEST(QtTextMetricsTest, AnEmptyTextNeedsNoSpaceAndOneLineIsOneLineHigh) {
    QtTextMetrics metrics;
    EXPECT_EQ(metrics.fittingSize("", FontStyle::largeTitle, kUnlimitedWidth), (Size{0, 0}));
    EXPECT_EQ(metrics.fittingSize("", FontStyle::body, 10), (Size{0, 0}));

    Size line = metrics.fittingSize("Hidden", FontStyle::body, kUnlimitedWidth);
    EXPECT_GT(line.width, 0);
    EXPECT_GT(line.height, 0);
    EXPECT_EQ(metrics.fittingSize("Hidden", FontStyle::body, 1000), line);
    // Measured in whole points, up, so that a text laid into its size never clips.
    EXPECT_EQ(line.width, std::floor(line.width));
    EXPECT_EQ(line.height, std::floor(line.height));
}

TEST(QtTextMetricsTest, ALongerTextWrapsWithinTheWidthAndGrowsInHeight) {
    QtTextMetrics metrics;
    const double line = metrics.fittingSize("Hg", FontStyle::callout, kUnlimitedWidth).height;
    struct Case {
        const char* what;
        std::string text;
        double maxWidth;
        int atLeastLines;
    };
    const Case cases[] = {
        {"a sentence, at its spaces", "Every window of the editor is hidden now", 120, 2},
        {"a word longer than the line, inside it", "Supercalifragilisticexpialidocious", 60, 2},
        {"a newline of its own", "Hidden\nEditor", kUnlimitedWidth, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Size size = metrics.fittingSize(c.text, FontStyle::callout, c.maxWidth);
        EXPECT_LE(size.width, c.maxWidth);
        EXPECT_GE(size.height, c.atLeastLines * line - 1);
    }
    // Where a word boundary is at hand the line breaks there, not inside the next word.
    double first = metrics.fittingSize("Hidden", FontStyle::callout, kUnlimitedWidth).width;
    double withPart = metrics.fittingSize("Hidden win", FontStyle::callout, kUnlimitedWidth).width;
    Size broken = metrics.fittingSize("Hidden windows", FontStyle::callout, withPart);
    EXPECT_EQ(
        broken.width,
        std::max(first, metrics.fittingSize("windows", FontStyle::callout, kUnlimitedWidth).width));
    EXPECT_GE(broken.height, 2 * line - 1);
}

TEST(QtTextMetricsTest, StylesScaleFromTheDesktopFontAndTheHeadlineIsBold) {
    QtTextMetrics metrics;
    auto height = [&](FontStyle style) {
        return metrics.fittingSize("Hg", style, kUnlimitedWidth).height;
    };
    EXPECT_GT(height(FontStyle::largeTitle), height(FontStyle::title));
    EXPECT_GT(height(FontStyle::title), height(FontStyle::body));
    EXPECT_GT(height(FontStyle::body), height(FontStyle::caption));
    EXPECT_EQ(height(FontStyle::headline), height(FontStyle::body));
    EXPECT_TRUE(QtTextMetrics::font(FontStyle::headline).bold());
    EXPECT_GT(metrics.fittingSize("Hidden windows", FontStyle::headline, kUnlimitedWidth).width,
              metrics.fittingSize("Hidden windows", FontStyle::body, kUnlimitedWidth).width);
}

}  // namespace
}  // namespace nimbrel::test
