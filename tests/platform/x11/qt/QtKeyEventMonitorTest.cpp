#include "platform/x11/qt/QtKeyEventMonitor.h"

#include <gtest/gtest.h>

#include <QtGui/QKeyEvent>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <optional>
#include <vector>

#include "platform/x11/qt/QtDisplay.h"
#include "platform/x11/qt/QtMainLoop.h"

namespace nimbrel {

// For the expectations below; the program itself never compares key events.
inline bool operator==(const KeyEvent& a, const KeyEvent& b) {
    return a.keyCode == b.keyCode && a.modifierFlags == b.modifierFlags && a.isRepeat == b.isRepeat;
}

inline void PrintTo(const KeyEvent& e, std::ostream* out) {
    *out << "key " << e.keyCode << " flags " << std::hex << e.modifierFlags
         << (e.isRepeat ? " repeat" : "");
}

}  // namespace nimbrel

namespace nimbrel::test {
namespace {

using x11::QtKeyEventMonitor;

// One of the program's ordinary windows, with the keyboard, counting the keys that reach it.
class KeyWindow final : public QWidget {
  public:
    KeyWindow() {
        setFocusPolicy(Qt::StrongFocus);
        setGeometry(200, 200, 300, 200);
    }
    int keys = 0;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        // The modifiers held for a combination go down as keys of their own.
        switch (event->key()) {
            case Qt::Key_Shift:
            case Qt::Key_Control:
            case Qt::Key_Alt:
            case Qt::Key_Meta:
            case Qt::Key_Super_L:
            case Qt::Key_Super_R:
                return;
            default:
                ++keys;
        }
    }
};

TEST(QtKeyEventMonitorTest, TheNewestHandlerSeesAKeyFirstAndMayKeepItFromTheWindow) {
    auto connection = qtConnection();
    ASSERT_NE(connection, nullptr);
    KeyWindow window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(spinUntil([&] {
        return window.isActiveWindow() &&
               inputFocus(*connection) == static_cast<xcb_window_t>(window.winId());
    }));

    x11::QtMainLoop loop;
    QtKeyEventMonitor monitor(loop);
    std::vector<KeyEvent> older;
    Subscription olderSubscription = monitor.addLocalKeyDownMonitor([&](const KeyEvent& e) {
        older.push_back(e);
        return false;
    });
    using M = EventModifier;
    struct Case {
        const char* keys;
        KeyEvent expected;
        bool consume;
    };
    // Virtual key codes: A is 0x00, S 0x01, Z 0x06.
    const Case cases[] = {
        {"a", {0x00, 0, false}, true},
        {"shift+a", {0x00, static_cast<EventModifierFlags>(M::shift), false}, false},
        {"ctrl+alt+s", {0x01, M::control | M::option, false}, true},
        {"super+z", {0x06, static_cast<EventModifierFlags>(M::command), false}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        std::vector<KeyEvent> newer;
        Subscription newerSubscription = monitor.addLocalKeyDownMonitor([&](const KeyEvent& e) {
            newer.push_back(e);
            EXPECT_EQ(older.size(), 0u) << "the older handler was asked first";
            return c.consume;
        });
        older.clear();
        window.keys = 0;
        ASSERT_TRUE(xdotool(std::string("key ") + c.keys));
        ASSERT_TRUE(spinUntil([&] { return !newer.empty(); }));
        drainQt();
        EXPECT_EQ(newer, std::vector<KeyEvent>{c.expected});
        EXPECT_EQ(older.size(), c.consume ? 0u : 1u);
        EXPECT_EQ(window.keys, c.consume ? 0 : 1);
    }

    // Once the older one's subscription ends too, keys reach the window unasked.
    older.clear();
    window.keys = 0;
    ASSERT_TRUE(xdotool("key a"));
    ASSERT_TRUE(spinUntil([&] { return window.keys == 1; }));
    EXPECT_EQ(older.size(), 1u);
    // While the loop is held for a modal alert the keys are the alert's: no handler is asked.
    older.clear();
    loop.hold();
    ASSERT_TRUE(xdotool("key a"));
    ASSERT_TRUE(spinUntil([&] { return window.keys == 2; }));
    EXPECT_TRUE(older.empty());
    loop.release();

    // Nor for a window that keeps its keys (the owner's password dialog).
    QtKeyEventMonitor::keepKeysOf(window);
    ASSERT_TRUE(xdotool("key a"));
    ASSERT_TRUE(spinUntil([&] { return window.keys == 3; }));
    EXPECT_TRUE(older.empty());
    window.windowHandle()->setProperty("nimbrelKeepsItsKeys", false);

    olderSubscription.cancel();
    ASSERT_TRUE(xdotool("key a"));
    ASSERT_TRUE(spinUntil([&] { return window.keys == 4; }));
    EXPECT_TRUE(older.empty());
}

}  // namespace
}  // namespace nimbrel::test
