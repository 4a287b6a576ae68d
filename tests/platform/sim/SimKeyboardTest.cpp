#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/SimDesktop.h"

namespace nimbrel::sim {
namespace {

// One regular application in front; the program's listeners record what reaches them.
class SimKeyboardTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(desktop.addScreen("main", {0, 0, 1440, 900}).ok());
        ASSERT_TRUE(desktop.launchApp(1001, "Safari").ok());
        ASSERT_TRUE(desktop.activateApp(1001).ok());
        hotKeyEvents = desktop.hotKeys().installHandler([this](HotKeyEventKind kind,
                                                               HotKeyIdentity identity) {
            got.push_back(std::string(kind == HotKeyEventKind::pressed ? "pressed " : "released ") +
                          std::to_string(identity.id));
        });
        locked = desktop.notifications().observe(SystemEvent::screenLocked,
                                                 [this] { got.push_back("screen-locked"); });
        desktop.runDue();
    }

    static SimKeyboardLayout::Combo combo(const char* text) {
        auto parsed = SimKeyboardLayout::parseCombo(text);
        EXPECT_TRUE(parsed) << text;
        return parsed.value_or(SimKeyboardLayout::Combo{});
    }
    SimKeyDelivery down(const char* text) {
        auto k = combo(text);
        return desktop.keyboard().keyDown(k.keyCode, k.modifiers, k.eventFlags);
    }
    SimKeyDelivery up(const char* text) {
        auto k = combo(text);
        return desktop.keyboard().keyUp(k.keyCode, k.modifiers, k.eventFlags);
    }
    void registerHotKey(const char* text, std::uint32_t id) {
        auto k = combo(text);
        HotKeyRef ref;
        ASSERT_EQ(desktop.hotKeys().registerHotKey(k.keyCode, k.modifiers, {1, id}, ref),
                  kHotKeyNoError);
    }
    std::unique_ptr<Panel> keyPanel(std::function<bool(std::uint16_t)> handler) {
        PanelSpec description;
        description.kind = PanelKind::selection;
        description.takesFocus = true;
        auto panel = desktop.panels().makePanel(description);
        panel->setKeyHandler(std::move(handler));
        panel->makeKeyAndOrderFront();
        return panel;
    }

    SimDesktop desktop;
    std::vector<std::string> got;
    Subscription hotKeyEvents;
    Subscription locked;
};

TEST_F(SimKeyboardTest, KeysReachTheFrontmostApplicationOrNobody) {
    SimKeyDelivery d = down("cmd+s");
    EXPECT_EQ(d.target, SimKeyTarget::app);
    EXPECT_EQ(d.pid, 1001);
    EXPECT_EQ(up("cmd+s").target, SimKeyTarget::app);

    ASSERT_TRUE(desktop.hideApp(1001).ok());
    EXPECT_EQ(down("a").target, SimKeyTarget::nobody) << "no application is frontmost";
    EXPECT_EQ(desktop.keyboard().lastDelivery()->target, SimKeyTarget::nobody);
    desktop.runDue();
    EXPECT_TRUE(got.empty());
}

TEST_F(SimKeyboardTest, ARegisteredHotKeyGoesToTheProgramAndNoFurther) {
    registerHotKey("ctrl+cmd+w", 7);
    EXPECT_EQ(down("ctrl+cmd+w").target, SimKeyTarget::hotKey);
    EXPECT_EQ(up("ctrl+cmd+w").target, SimKeyTarget::hotKey);
    EXPECT_EQ(down("ctrl+shift+cmd+w").target, SimKeyTarget::app) << "other modifiers, other key";
    desktop.runDue();
    EXPECT_EQ(got, (std::vector<std::string>{"pressed 7", "released 7"}));
}

TEST_F(SimKeyboardTest, TheLockShortcutLocksTheScreenOnceUnlessSomeoneTakesIt) {
    EXPECT_EQ(down("ctrl+cmd+q").target, SimKeyTarget::system);
    EXPECT_EQ(up("ctrl+cmd+q").target, SimKeyTarget::system) << "no window sees the release";
    EXPECT_EQ(desktop.events().lines(), std::vector<std::string>{"screen locked by keys"});
    EXPECT_TRUE(got.empty()) << "the notification arrives through the loop";
    desktop.runDue();
    EXPECT_EQ(got, std::vector<std::string>{"screen-locked"});

    got.clear();
    EXPECT_EQ(down("ctrl+shift+cmd+q").target, SimKeyTarget::app);
    EXPECT_EQ(down("cmd+q").target, SimKeyTarget::app);

    // A keyboard tap that swallows the combination keeps it from the system.
    desktop.keyboard().setTap([](const SimKeyStroke& s) {
        return s.keyCode == SimKeyboard::kLockKeyCode && s.modifiers == SimKeyboard::kLockModifiers;
    });
    EXPECT_EQ(down("ctrl+cmd+q").target, SimKeyTarget::tap);
    EXPECT_EQ(down("ctrl+cmd+w").target, SimKeyTarget::app) << "the tap passes other keys on";
    desktop.keyboard().setTap(nullptr);

    registerHotKey("ctrl+cmd+q", 3);
    EXPECT_EQ(down("ctrl+cmd+q").target, SimKeyTarget::hotKey);
    desktop.runDue();
    EXPECT_EQ(got, std::vector<std::string>{"pressed 3"});
    EXPECT_EQ(desktop.events().lines().size(), 1u) << "locked only the first time";
}

TEST_F(SimKeyboardTest, TheTapSeesEveryEventFirstAndMayLetGoOfItselfWhileItRuns) {
    registerHotKey("ctrl+cmd+w", 7);
    std::vector<std::string> seen;
    desktop.keyboard().setTap([&](const SimKeyStroke& s) {
        seen.push_back(std::to_string(s.keyCode) + (s.down ? " down" : " up"));
        desktop.keyboard().setTap(nullptr);
        return true;
    });
    EXPECT_EQ(down("ctrl+cmd+w").target, SimKeyTarget::tap);
    EXPECT_FALSE(desktop.keyboard().hasTap());
    EXPECT_EQ(up("ctrl+cmd+w").target, SimKeyTarget::hotKey);
    EXPECT_EQ(seen, std::vector<std::string>{"13 down"});

    desktop.keyboard().setTap([](const SimKeyStroke&) { return false; });
    ASSERT_TRUE(desktop.programStarted(50).ok());
    desktop.programEnded();
    EXPECT_FALSE(desktop.keyboard().hasTap()) << "the tap dies with the process";
}

TEST_F(SimKeyboardTest, EveryKeyDownCountsAsInputWhoeverTakesIt) {
    desktop.keyboard().setTap([](const SimKeyStroke&) { return true; });
    desktop.advanceTime(30);
    down("a");
    EXPECT_EQ(desktop.lastInput(InputEventType::keyDown), desktop.loop().now());
    desktop.advanceTime(5);
    up("a");
    EXPECT_EQ(desktop.loop().now() - desktop.lastInput(InputEventType::keyDown), 5)
        << "a release is no key press";
    EXPECT_EQ(desktop.keyboard().keyDownCount(), 1u);
}

TEST_F(SimKeyboardTest, TheProgramsKeyWindowTakesKeysItsMonitorsFirst) {
    std::vector<std::string> seen;
    bool consume = false;
    auto monitor = desktop.keyMonitor().addLocalKeyDownMonitor([&](const KeyEvent& e) {
        seen.push_back("monitor " + std::to_string(e.keyCode) +
                       (hasModifier(e.modifierFlags, EventModifier::command) ? " cmd" : ""));
        return consume;
    });
    // A monitor while recording: the settings window is key.
    EXPECT_EQ(down("cmd+e").target, SimKeyTarget::program);
    EXPECT_EQ(up("cmd+e").target, SimKeyTarget::program);
    EXPECT_EQ(seen, std::vector<std::string>{"monitor 14 cmd"}) << "monitors see key downs only";

    seen.clear();
    auto panel = keyPanel([&](std::uint16_t code) {
        seen.push_back("panel " + std::to_string(code));
        return true;
    });
    EXPECT_EQ(down("escape").target, SimKeyTarget::panel);
    consume = true;
    EXPECT_EQ(down("escape").target, SimKeyTarget::program) << "a monitor consumed it";
    EXPECT_EQ(seen, (std::vector<std::string>{"monitor 53", "panel 53", "monitor 53"}));

    monitor.cancel();
    seen.clear();
    EXPECT_EQ(down("escape").target, SimKeyTarget::panel);
    EXPECT_EQ(seen, std::vector<std::string>{"panel 53"});
    panel->orderOut();
    EXPECT_EQ(down("escape").target, SimKeyTarget::app) << "a hidden panel is no key window";
}

}  // namespace
}  // namespace nimbrel::sim
