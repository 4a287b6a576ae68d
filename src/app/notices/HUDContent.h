#pragma once

#include <string>

#include "platform/Panels.h"
#include "platform/TextMetrics.h"

namespace nimbrel {

// The inside of a notice: a bold title over a secondary detail, centred in a vertical stack.
struct HUDContent {
    static constexpr double kSpacing = 6;
    static constexpr double kHorizontalPadding = 24;
    static constexpr double kVerticalPadding = 16;
    static constexpr double kMinWidth = 260;
    static constexpr double kMaxWidth = 420;
    static constexpr double kCornerRadius = 14;

    std::string title;
    std::string detail;

    // The fitting layout: the texts wrap within the widest plate rather than widening it, and a
    // short notice keeps the narrowest plate. An empty detail takes no line and no spacing.
    NoticeContent layout(TextMetrics& metrics) const;
};

}  // namespace nimbrel
