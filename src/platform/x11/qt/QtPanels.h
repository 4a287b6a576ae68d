#pragma once

#include <xcb/xcb.h>

#include <QtCore/QObject>

#include <memory>

#include "platform/LifetimeGuard.h"
#include "platform/MainLoop.h"
#include "platform/Panels.h"
#include "platform/x11/Connection.h"
#include "platform/x11/X11Screens.h"

class QVariantAnimation;

namespace nimbrel::x11 {

class PanelStacking;

// One of the program's panels: a frameless Qt window that leaves the keyboard focus where it is
// unless its description lets it take it. Most panels are unmanaged (override-redirect): the
// program alone decides what they stack above, and keeps them there as other windows come and
// go, and no manager's frame takes the clicks they let through. Only a panel above ordinary
// windows that takes clicks is managed: the manager keeps it above them, off the taskbar and
// pager and, when asked, on every desktop.
class QtPanel final : public Panel {
  public:
    QtPanel(Connection& connection, X11Screens& screens, const PanelSpec& description,
            MainLoop& loop, std::shared_ptr<PanelStacking> stacking);
    ~QtPanel() override;

    void setContent(PanelContent content) override;
    void setFrame(const Rect& frame, bool display) override;
    Rect frame() override { return frame_; }

    void setAlpha(double alpha) override;
    double alpha() override { return alpha_; }
    void animateAlpha(double alpha, double seconds, std::function<void()> completion) override;

    void orderFrontRegardless() override;
    bool orderAbove(WindowNumber window) override;
    void orderOut() override;
    bool isVisible() override;
    void makeKeyAndOrderFront() override;

    void setMouseHandler(std::function<void(PanelMouseAction, Point)> handler) override;
    void setKeyHandler(std::function<bool(std::uint16_t keyCode)> handler) override;

    // The panel's own X window (a child of the root when unmanaged, else inside the manager's
    // frame).
    xcb_window_t window() const;
    bool isManaged() const { return managed_; }

    // Puts an unmanaged panel back where it belongs after another window moved in the stack:
    // on top for the levels above ordinary windows, directly above its window otherwise.
    void restack();
    PanelLevel level() const { return description_.level; }

  private:
    class Surface;

    // Marks the window as the desktop should treat it before the manager sees it mapped: the
    // manager reads these marks only when it takes a window on.
    void prepareToMap();
    void askForMarks();
    void refuseFocusOffers();
    void show();
    void applyAlpha(double alpha);
    // Stops a running fade where it is; its completion still runs.
    void endFade();
    // Stops it without its completion, for a panel that is going away.
    void endFadeSilently();
    void fadeEnded();
    void complete(std::function<void()> completion);

    Connection& connection_;
    X11Screens& screens_;
    PanelSpec description_;
    MainLoop& loop_;
    std::shared_ptr<PanelStacking> stacking_;
    bool managed_ = false;
    // The frame of the window an ordinary-level panel was last ordered above.
    xcb_window_t above_ = XCB_WINDOW_NONE;
    Surface* surface_;  // deleted later: the panel may go from inside one of its own events
    Rect frame_;
    double alpha_ = 1.0;
    QVariantAnimation* fade_ = nullptr;
    std::function<void()> fadeCompletion_;
    // The fade's signals die with this object; completions posted to the main loop check that
    // the panel still exists.
    QObject context_;
    LifetimeGuard guard_;
};

// Makes the program's panels as Qt windows. Animation completions are posted to `loop`, so they
// wait while a modal alert holds it.
class QtPanels final : public Panels {
  public:
    QtPanels(Connection& connection, X11Screens& screens, MainLoop& loop);
    ~QtPanels() override;

    std::unique_ptr<Panel> makePanel(const PanelSpec& description) override;

  private:
    Connection& connection_;
    X11Screens& screens_;
    MainLoop& loop_;
    std::shared_ptr<PanelStacking> stacking_;
};

}  // namespace nimbrel::x11
