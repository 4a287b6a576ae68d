#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "platform/Geometry.h"
#include "platform/Handles.h"
#include "platform/TextMetrics.h"

namespace nimbrel {

// What a panel of the program is for. The platform draws every kind the same way; the simulated
// desktop names panels by it when it lists them.
enum class PanelKind { hud, cover, flash, border, region, selection };

struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;
    static Color clear() { return {}; }
    static Color white(double white, double alpha) { return {white, white, white, alpha}; }
    friend bool operator==(const Color&, const Color&) = default;
};

// How high a panel stands among all windows. Each platform maps these onto its own stacking.
enum class PanelLevel {
    normal,       // with ordinary windows, ordered directly above the one it belongs to
    statusBar,    // above every ordinary window: notices
    screenSaver,  // above everything, full-screen windows included: the flash guard
};

// What a panel needs of the platform, fixed when it is made; each implementation maps it as it can.
struct PanelSpec {
    PanelKind kind = PanelKind::hud;
    PanelLevel level = PanelLevel::normal;
    bool opaque = false;
    Color background = Color::clear();
    bool hasShadow = false;
    // Clicks pass through to whatever lies below the panel.
    bool passesClicks = true;
    bool hidesOnDeactivate = false;
    // Only a panel that must receive keys (the region selection overlay) takes the keyboard focus;
    // every other panel leaves the focus and the active application where they are, even when
    // clicked.
    bool takesFocus = false;
    // Shown on every workspace, staying put when the workspace changes, and beside full-screen
    // windows.
    bool onEveryWorkspace = true;
};

// One line of text laid out by the program inside a panel's content, in the content's own
// coordinates with the origin at its top-left corner.
struct PanelText {
    std::string text;
    FontStyle font = FontStyle::body;
    bool secondary = false;  // drawn in the secondary foreground style
    Rect frame;
    friend bool operator==(const PanelText&, const PanelText&) = default;
};

// The short notice: a rounded, translucent heads-up plate with a title and a detail.
struct NoticeContent {
    PanelText title;
    PanelText detail;  // an empty text is not drawn
    Size size;
    double cornerRadius = 14;
    friend bool operator==(const NoticeContent&, const NoticeContent&) = default;
};

// What a panel shows. Overlays add their own alternatives as they need them.
using PanelContent = std::variant<std::monostate, NoticeContent>;

enum class PanelMouseAction { down, drag, up };

// One of the program's own panels. It never takes the keyboard focus unless its description allows
// it, and destroying the object removes the panel from the screen.
class Panel {
  public:
    Panel() = default;
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;
    virtual ~Panel() = default;

    virtual void setContent(PanelContent content) = 0;
    // In screen space (bottom-left origin of the primary screen). `display` redraws at once.
    virtual void setFrame(const Rect& frame, bool display) = 0;
    virtual Rect frame() = 0;

    // Setting the alpha stops a running alpha animation where it is.
    virtual void setAlpha(double alpha) = 0;
    virtual double alpha() = 0;
    // Changes the alpha gradually over `seconds`. `completion` runs on the main loop once the
    // animation is over, also when something cut it short, so it must check whether it still
    // applies.
    virtual void animateAlpha(double alpha, double seconds, std::function<void()> completion) = 0;

    // Brings the panel in front of every window of its level, whichever application is active.
    virtual void orderFrontRegardless() = 0;
    // Puts the panel directly above another window in the stack; false (and nothing changes)
    // when there is no such window.
    virtual bool orderAbove(WindowNumber window) = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() = 0;
    // For a panel that may become key: brings it to the front and gives it the keyboard.
    virtual void makeKeyAndOrderFront() = 0;

    // Pointer events on a panel that does not ignore the mouse, at a point of its content
    // (bottom-left origin). Key downs while it is key, by virtual key code; answering false passes
    // the key on.
    virtual void setMouseHandler(std::function<void(PanelMouseAction, Point)> handler) = 0;
    virtual void setKeyHandler(std::function<bool(std::uint16_t keyCode)> handler) = 0;
};

// Makes the program's panels.
class Panels {
  public:
    virtual ~Panels() = default;
    // Null when the platform cannot make one; the panel starts ordered out, at alpha 1, with an
    // empty frame and no content.
    virtual std::unique_ptr<Panel> makePanel(const PanelSpec& description) = 0;
};

}  // namespace nimbrel
