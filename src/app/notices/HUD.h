#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/notices/ScreenChoice.h"
#include "platform/LifetimeGuard.h"
#include "platform/MainLoop.h"
#include "platform/Panels.h"
#include "platform/Screens.h"
#include "platform/TextMetrics.h"

namespace nimbrel {

// The short notice for actions that have no window of their own: shown near the bottom of the
// chosen screen for 1.8 seconds, then faded out over 0.3 seconds. It never takes the focus or the
// mouse, so the window the user works in is not disturbed.
class HUD {
  public:
    static constexpr double kDisplaySeconds = 1.8;
    static constexpr double kFadeSeconds = 0.3;
    // How far up the visible frame the notice sits.
    static constexpr double kHeightFraction = 0.2;

    HUD(Panels& panels, TextMetrics& metrics, Screens& screens, MainLoop& loop,
        CurrentScreenChoice currentChoice);
    HUD(const HUD&) = delete;
    HUD& operator=(const HUD&) = delete;

    // Shows a notice, replacing the one on screen (also one that is fading) and restarting the
    // 1.8 seconds.
    void show(const std::string& title, const std::string& detail);

    // The panel the notices use, made on first use.
    static PanelSpec panelSpec();
    // The visible frame of the screen a notice goes to: the chosen screen, else the one under the
    // pointer, else the main screen; an empty rectangle without screens.
    static Rect noticeVisibleFrame(const ScreenChoice& choice, Screens& screens);

  private:
    void fadeOut(std::uint64_t shown);

    Panels& panels_;
    TextMetrics& metrics_;
    Screens& screens_;
    MainLoop& loop_;
    CurrentScreenChoice currentChoice_;

    std::unique_ptr<Panel> panel_;
    Timer hideWork_;
    // Counts the notices shown, so that the end of a fade knows whether another notice came in
    // meanwhile and must stay.
    std::uint64_t shownCount_ = 0;
    LifetimeGuard guard_;
};

}  // namespace nimbrel
