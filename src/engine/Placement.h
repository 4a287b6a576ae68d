#pragma once

#include <optional>

#include "platform/Geometry.h"

namespace nimbrel {

// Where a window of frame `window` goes on a screen (all in accessibility space): none when its
// centre already lies on that screen, else centred in the visible frame and pushed back inside it,
// aligned with the visible frame's top-left corner when larger than it.
std::optional<Point> placement(const Rect& window, const Rect& screenFrame,
                               const Rect& visibleFrame);

}  // namespace nimbrel
