#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/WindowMinimizer.h"
#include "platform/BundledStrings.h"
#include "platform/Localizer.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel {

// An engine on a simulated desktop with one 1440 x 900 screen and two applications, Notes (501)
// and Mail (502). The clock starts well after the desktop's initial input events, so nothing
// counts as fresh input until a test records some. The unlock prompt is held open until the test
// answers it. A test that wants other callbacks sets them in `callbacks_` before the engine is
// made.
class EngineFixture : public testing::Test {
  protected:
    static constexpr Pid kNotes = 501;
    static constexpr Pid kMail = 502;

    EngineFixture() : strings_(&english_) {
        desk_.addScreen("main", {0, 0, 1440, 900});
        desk_.launchApp(kNotes, "Notes", std::string("com.example.notes"));
        desk_.launchApp(kMail, "Mail", std::string("com.example.mail"));
        desk_.advanceTime(100);
        callbacks_.authenticate = [this](const std::string&, std::function<void(bool)> reply) {
            ++prompts_;
            pendingReply_ = std::move(reply);
        };
        callbacks_.onAttempt = [this](const std::vector<WindowRef>& windows, AttemptReason reason) {
            for (const auto& window : windows) {
                attempts_.push_back({window.element, reason});
            }
        };
    }

    // Created on first use, so that a test can set up the screens the engine starts with.
    WindowMinimizer& engine() {
        if (!engine_) {
            engine_ = std::make_unique<WindowMinimizer>(
                EngineServices{desk_.accessibility(), desk_.workspace(), desk_.screens(),
                               desk_.eventSource(), desk_.loop(), strings_},
                callbacks_);
        }
        return *engine_;
    }

    ElementRef open(Pid pid, const std::string& title, Rect frame = {100, 100, 600, 400},
                    std::optional<WindowNumber> number = std::nullopt,
                    const std::string& subrole = "AXStandardWindow") {
        ElementRef element;
        desk_.openWindow(pid, sim::SimWindowSpec(title, frame, subrole, number), &element);
        return element;
    }

    AppRef app(Pid pid) { return *desk_.workspace().runningApplication(pid); }

    WindowRef ref(ElementRef element) {
        const sim::SimWindow* w = desk_.windowState(element);
        return WindowRef{element, w->app, w->title};
    }

    Point origin(ElementRef element) { return desk_.windowState(element)->frame.origin(); }
    bool minimized(ElementRef element) { return desk_.windowState(element)->minimized; }
    bool appHidden(Pid pid) { return desk_.appState(pid)->hidden; }
    Point parkingPoint() { return engine().access().parkingPoint(); }

    // Hides the window with a lock; the engine parks it beyond the screens.
    void lock(ElementRef element) {
        ASSERT_TRUE(engine().hide(ref(element), Guard::locked, HideStyle::outOfSight));
        desk_.runDue();
        ASSERT_TRUE(engine().isLocked(element));
    }

    // Answers the open unlock prompt.
    void answer(bool success) {
        ASSERT_TRUE(pendingReply_) << "no prompt is open";
        auto reply = std::move(pendingReply_);
        pendingReply_ = nullptr;
        reply(success);
        desk_.runDue();
    }

    std::size_t blockedAttempts() const {
        std::size_t count = 0;
        for (const auto& attempt : attempts_) {
            count += attempt.reason == AttemptReason::blockedWithoutAuth ? 1 : 0;
        }
        return count;
    }

    struct RecordedAttempt {
        ElementRef element;
        AttemptReason reason;
    };

    sim::SimDesktop desk_;
    BundledStrings english_;
    Localizer strings_;
    EngineCallbacks callbacks_;
    std::unique_ptr<WindowMinimizer> engine_;
    int prompts_ = 0;
    std::function<void(bool)> pendingReply_;
    std::vector<RecordedAttempt> attempts_;
};

}  // namespace nimbrel
