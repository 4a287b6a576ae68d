#pragma once

#include <optional>

#include "app/notices/ScreenChoice.h"
#include "platform/Geometry.h"
#include "platform/Screens.h"

namespace nimbrel {

// Puts the program's own windows (the settings window, alerts) on the screen chosen for notices.
// All rectangles are in screen space (bottom-left origin).
class OwnWindowPlacement {
  public:
    // How far up the free height of the visible frame a moved window sits: a little above the
    // middle, where a dialog is expected.
    static constexpr double kHeightFraction = 0.6;

    OwnWindowPlacement(Screens& screens, CurrentScreenChoice currentChoice)
        : screens_(screens), currentChoice_(std::move(currentChoice)) {}

    // The screen the current choice resolves to; none leaves the window where the system or its
    // caller puts it.
    std::optional<Screen> chosenScreen() const;

    // The frame a window of frame `window` gets on the chosen screen; none when there is no chosen
    // screen or the window's centre already lies on it.
    std::optional<Rect> placed(const Rect& window) const;

    // The rule itself: none when the centre of `window` lies inside the screen's frame, else the
    // new origin, horizontally centred in the visible frame and 0.6 of the way up its free height,
    // kept inside it at the bottom and left (a window too large for it hangs off the top and
    // right).
    static std::optional<Point> origin(const Rect& window, const Screen& screen);

  private:
    Screens& screens_;
    CurrentScreenChoice currentChoice_;
};

}  // namespace nimbrel
