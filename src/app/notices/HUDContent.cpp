#include "app/notices/HUDContent.h"

#include <algorithm>

namespace nimbrel {

NoticeContent HUDContent::layout(TextMetrics& metrics) const {
    const double maxText = kMaxWidth - 2 * kHorizontalPadding;
    Size titleSize = metrics.fittingSize(title, FontStyle::headline, maxText);
    Size detailSize = metrics.fittingSize(detail, FontStyle::callout, maxText);
    // A platform may round a measurement up past the limit; the plate never grows for it.
    titleSize.width = std::min(titleSize.width, maxText);
    detailSize.width = std::min(detailSize.width, maxText);

    double width = std::clamp(std::max(titleSize.width, detailSize.width) + 2 * kHorizontalPadding,
                              kMinWidth, kMaxWidth);
    bool hasDetail = !detail.empty();
    double height = kVerticalPadding + titleSize.height +
                    (hasDetail ? kSpacing + detailSize.height : 0) + kVerticalPadding;

    NoticeContent content;
    content.size = {width, height};
    content.cornerRadius = kCornerRadius;
    content.title = {
        title, FontStyle::headline, false,
        Rect((width - titleSize.width) * 0.5, kVerticalPadding, titleSize.width, titleSize.height)};
    content.detail = {detail, FontStyle::callout, true,
                      Rect((width - detailSize.width) * 0.5,
                           kVerticalPadding + titleSize.height + (hasDetail ? kSpacing : 0),
                           detailSize.width, detailSize.height)};
    return content;
}

}  // namespace nimbrel
