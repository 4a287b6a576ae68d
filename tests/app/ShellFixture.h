#pragma once

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/AutoHideTriggers.h"
#include "app/BindingLookup.h"
#include "app/ShortcutActions.h"
#include "app/notices/HUD.h"
#include "app/screenshare/ScreenShareDetector.h"
#include "engine/WindowMinimizer.h"
#include "hotkeys/HotKeyCenter.h"
#include "platform/Localizer.h"
#include "platform/sim/SimDesktop.h"
#include "settings/SettingsStore.h"

namespace nimbrel::test {

// The shell's action classes over one simulated desktop, built the way the delegate builds them
// but without it: a 1440 x 900 screen and Notes (501) with two windows, "Draft" in front. Texts are
// shown as keys, so notices read as the keys and arguments the code chose. Every authentication
// request, from the store or the engine, takes the next queued answer and refuses without one.
class ShellFixture : public ::testing::Test {
  public:
    static constexpr Pid kNotes = 501;
    static constexpr std::uint32_t kCtrlCmd = KeyCombo::kControl | KeyCombo::kCommand;
    // The default combinations: ⌃⌘W hides the focused window, ⌃⌘E every bound one.
    static constexpr std::uint32_t kKeyW = 13;
    static constexpr std::uint32_t kKeyE = 14;

  protected:
    ShellFixture() {
        desk_.addScreen("main", {0, 0, 1440, 900});
        desk_.launchApp(kNotes, "Notes", std::string("com.example.notes"));
        draft_ = open("Draft", {100, 100, 600, 400});
        notes_ = open("Ideas", {200, 150, 600, 400});
        desk_.focusWindow(draft_);
        desk_.activateApp(kNotes);
        desk_.runDue();

        SettingsStore::Services services{desk_.defaults(), strings_, desk_.sound(),
                                         desk_.keyMonitor(), desk_.keyboardLayout()};
        services.authenticate = [this](const std::string&, std::function<void(bool)> reply) {
            answer(std::move(reply));
        };
        store_ = std::make_unique<SettingsStore>(std::move(services));
        EngineCallbacks callbacks;
        callbacks.authenticate = [this](const std::string&, std::function<void(bool)> reply) {
            answer(std::move(reply));
        };
        engine_ = std::make_unique<WindowMinimizer>(
            EngineServices{desk_.accessibility(), desk_.workspace(), desk_.screens(),
                           desk_.eventSource(), desk_.loop(), strings_},
            std::move(callbacks));
        hotKeys_ = std::make_unique<HotKeyCenter>(desk_.hotKeys());
        hud_ = std::make_unique<HUD>(desk_.panels(), desk_.textMetrics(), desk_.screens(),
                                     desk_.loop(), nullptr);
        lookup_ = std::make_unique<BindingLookup>(*store_, *engine_, desk_.workspace());
        screenShare_ =
            std::make_unique<ScreenShareDetector>(desk_.accessibility(), desk_.workspace());
        triggers_ = makeTriggers();
        shortcuts_ = std::make_unique<ShortcutActions>(ShortcutActions::Services{
            *store_, *engine_, *hotKeys_, *hud_, *lookup_, *triggers_, desk_.accessibility(),
            desk_.workspace(), desk_.sound(), desk_.loop(), strings_});
    }

    std::unique_ptr<AutoHideTriggers> makeTriggers(TriggerHooks hooks = {}) {
        return std::make_unique<AutoHideTriggers>(
            AutoHideTriggers::Services{*store_, *engine_, *lookup_, *screenShare_,
                                       desk_.accessibility(), desk_.screens(), desk_.eventSource(),
                                       desk_.notifications(), desk_.sound(), desk_.log(),
                                       desk_.loop()},
            std::move(hooks));
    }

    ElementRef open(const std::string& title, Rect frame) {
        ElementRef element;
        desk_.openWindow(kNotes, sim::SimWindowSpec(title, frame), &element);
        return element;
    }
    WindowRef ref(ElementRef element) {
        const sim::SimWindow* w = desk_.windowState(element);
        return WindowRef{element, w->app, w->title};
    }
    Uuid designate(ElementRef element) {
        Uuid id = store_->designate(lookup_->liveWindow(ref(element)));
        engine_->designate(element, id);
        return id;
    }
    bool isHidden(ElementRef element) {
        const auto& hidden = engine_->hidden().minimized();
        return std::any_of(hidden.begin(), hidden.end(),
                           [&](const WindowRef& w) { return w.element == element; });
    }

    void keyDown(std::uint32_t keyCode) {
        desk_.hotKeys().keyDown(keyCode, kCtrlCmd);
        desk_.runDue();
    }
    void keyUp(std::uint32_t keyCode) {
        desk_.hotKeys().keyUp(keyCode, kCtrlCmd);
        desk_.runDue();
    }
    // Holds the keys down for that long, then lets go.
    void press(std::uint32_t keyCode, double seconds) {
        keyDown(keyCode);
        desk_.advanceTime(seconds);
        keyUp(keyCode);
    }

    int count(const std::string& line) {
        const auto& lines = desk_.events().lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }
    std::vector<std::string> notices() {
        std::vector<std::string> found;
        for (const auto& line : desk_.events().lines()) {
            if (line.rfind("notice ", 0) == 0) {
                found.push_back(line);
            }
        }
        return found;
    }

    void answer(std::function<void(bool)> reply) {
        bool granted = !answers_.empty() && answers_.front();
        if (!answers_.empty()) {
            answers_.pop_front();
        }
        reply(granted);
    }

    sim::SimDesktop desk_;
    Localizer strings_{nullptr};
    std::deque<bool> answers_;
    ElementRef draft_;
    ElementRef notes_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<WindowMinimizer> engine_;
    std::unique_ptr<HotKeyCenter> hotKeys_;
    std::unique_ptr<HUD> hud_;
    std::unique_ptr<BindingLookup> lookup_;
    std::unique_ptr<ScreenShareDetector> screenShare_;
    std::unique_ptr<AutoHideTriggers> triggers_;
    std::unique_ptr<ShortcutActions> shortcuts_;
};

}  // namespace nimbrel::test
