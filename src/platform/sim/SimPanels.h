#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Panels.h"
#include "platform/sim/SimEventLog.h"
#include "platform/sim/SimMainLoop.h"

namespace nimbrel::sim {

int levelNumber(PanelLevel level);

// A panel of the program as the simulated window server sees it.
struct SimPanelState {
    std::uint64_t id = 0;
    PanelSpec description;
    PanelContent content;
    Rect frame;  // screen space (bottom-left origin)
    double alpha = 1;
    bool visible = false;  // ordered in, whatever its alpha
    bool isKey = false;
    std::optional<WindowNumber> above;  // the window it was last ordered directly above
};

// The program's own panels on the simulated desktop, and the control surface that reads them back
// and routes the pointer and keys to them.
//
// Alpha animations run on the virtual clock: the alpha moves linearly from where it was to the
// target over the duration, and the completion runs on the main loop when the duration is over,
// also when the animation was cut short (as the real platform's animation groups do).
//
// Panels made here may outlive this object and the program's process (discardAll): they then
// do nothing.
class SimPanels final : public Panels {
  public:
    // The primary screen's height converts panel frames (bottom-left origin) to the accessibility
    // space (top-left origin) in which the desktop's commands speak; 0 without screens.
    SimPanels(SimMainLoop& loop, SimEventLog& events, std::function<double()> primaryScreenHeight);
    SimPanels(const SimPanels&) = delete;
    SimPanels& operator=(const SimPanels&) = delete;
    ~SimPanels() override;

    std::unique_ptr<Panel> makePanel(const PanelSpec& description) override;

    // ---- Control surface ----

    // While on, makePanel answers null, as a platform out of window resources would.
    void setRefusesPanels(bool refuses);
    // Which window numbers exist, for orderAbove; without it every number but 0 does.
    void setWindowLookup(std::function<bool(WindowNumber)> exists);
    // The process ended: every panel vanishes and its pending animations with it.
    void discardAll();

    std::size_t panelCount() const;
    // Ordered-in panels, front to back: higher levels first, then the most recently ordered.
    std::vector<SimPanelState> visiblePanels() const;
    std::optional<SimPanelState> firstVisible(PanelKind kind) const;
    // The `show panels` lines: `panel KIND frame=x,y,w,h level=N alpha=A [above=NUMBER]`, frames
    // in accessibility space.
    std::vector<std::string> describeVisible() const;
    std::string describe(const SimPanelState& panel) const;
    static std::string kindName(PanelKind kind);
    // The frame of a panel in accessibility space.
    Rect accessibilityFrame(const SimPanelState& panel) const;

    // The frontmost visible panel at a point of accessibility space, whether or not it takes the
    // mouse; none when no panel is there.
    std::optional<SimPanelState> panelAt(Point accessibilityPoint) const;
    // Delivers a pointer event to the frontmost visible panel at the point that takes the mouse
    // (not ignoring mouse events, not fully transparent); after a press, drags and the release go
    // to the panel that took it. False when no panel took the event: it belongs to the windows
    // below.
    bool pointerEvent(PanelMouseAction action, Point accessibilityPoint);
    // Delivers a key down to the key panel; false when there is none or it passed the key on.
    bool keyDown(std::uint16_t keyCode);
    std::optional<SimPanelState> keyPanel() const;

  private:
    class Registry;
    class SimPanel;

    std::shared_ptr<Registry> registry_;
};

}  // namespace nimbrel::sim
