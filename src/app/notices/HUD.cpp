#include "app/notices/HUD.h"

#include "app/notices/HUDContent.h"

namespace nimbrel {

HUD::HUD(Panels& panels, TextMetrics& metrics, Screens& screens, MainLoop& loop,
         CurrentScreenChoice currentChoice)
    : panels_(panels),
      metrics_(metrics),
      screens_(screens),
      loop_(loop),
      currentChoice_(std::move(currentChoice)) {}

PanelSpec HUD::panelSpec() {
    PanelSpec description;
    description.kind = PanelKind::hud;
    description.level = PanelLevel::statusBar;
    description.opaque = false;
    description.background = Color::clear();
    description.hasShadow = true;
    description.passesClicks = true;
    description.takesFocus = false;
    description.onEveryWorkspace = true;
    return description;
}

Rect HUD::noticeVisibleFrame(const ScreenChoice& choice, Screens& screens) {
    if (auto chosen = choice.resolve(screens)) {
        return chosen->visibleFrame;
    }
    if (auto underPointer = ScreenChoice::mouse().resolve(screens)) {
        return underPointer->visibleFrame;
    }
    if (auto main = screens.mainScreen()) {
        return main->visibleFrame;
    }
    return {};
}

void HUD::show(const std::string& title, const std::string& detail) {
    if (!panel_) {
        panel_ = panels_.makePanel(panelSpec());
        if (!panel_) {
            return;  // no panel to show it in; the next notice tries again
        }
    }
    NoticeContent content = HUDContent{title, detail}.layout(metrics_);
    Size size = content.size;
    panel_->setContent(std::move(content));

    ScreenChoice choice = currentChoice_ ? currentChoice_() : ScreenChoice::original();
    Rect visible = noticeVisibleFrame(choice, screens_);
    panel_->setFrame(
        Rect(visible.midX() - size.width * 0.5, visible.minY() + visible.height * kHeightFraction,
             size.width, size.height),
        true);
    panel_->setAlpha(1.0);
    panel_->orderFrontRegardless();

    std::uint64_t shown = ++shownCount_;
    hideWork_ =
        Timer(loop_, kDisplaySeconds, false, guard_.wrap([this, shown] { fadeOut(shown); }));
}

void HUD::fadeOut(std::uint64_t shown) {
    if (!panel_) {
        return;
    }
    panel_->animateAlpha(0.0, kFadeSeconds, guard_.wrap([this, shown] {
        // A notice shown during the fade has restored the alpha and must keep its full time.
        if (shown == shownCount_ && panel_) {
            panel_->orderOut();
        }
    }));
}

}  // namespace nimbrel
