#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "engine/WindowAccess.h"
#include "platform/Geometry.h"
#include "platform/MainLoop.h"
#include "platform/Screens.h"

namespace nimbrel {

// Where a window of frame `window` goes on a screen (all in accessibility space): none when its
// centre already lies on that screen, else centred in the visible frame and pushed back inside it,
// aligned with the visible frame's top-left corner when larger than it.
std::optional<Point> placement(const Rect& window, const Rect& screenFrame,
                               const Rect& visibleFrame);

// Where revealed and adopted windows go on the screens, and the screens as last seen: a display
// change makes the system move windows about for a moment, and such moves are no requests.
class ScreenPlacement {
  public:
    using ChosenScreen = std::function<std::optional<Screen>()>;

    ScreenPlacement(WindowAccess& access, Screens& screens, MainLoop& loop,
                    ChosenScreen chosenScreen)
        : access_(access),
          screens_(screens),
          loop_(loop),
          chosenScreen_(std::move(chosenScreen)),
          known_(access.screenRects()) {}

    // Centred on the chosen (or main) screen, as a window of unknown size would be.
    std::optional<Point> centredOrigin(ElementRef element);
    // The origin, or a place on the chosen (or main) screen when its centre lies on no screen.
    Point adjustedIntoScreens(ElementRef element, Point origin);
    void moveOntoChosenScreen(ElementRef element);

    // Compares the screens with the ones last seen; true within moments of a change.
    bool changedRecently();
    // The screens changed just now.
    void noteChange();
    const std::vector<Rect>& knownScreens() const { return known_; }
    TimePoint changedAt() const { return changedAt_; }

  private:
    std::optional<Screen> chosenOrMainScreen();
    Screen toAccessibility(const Screen& screen);

    WindowAccess& access_;
    Screens& screens_;
    MainLoop& loop_;
    ChosenScreen chosenScreen_;
    std::vector<Rect> known_;
    TimePoint changedAt_ = kDistantPast;
};

}  // namespace nimbrel
