#include <string>
#include <vector>

#include "SimDesktopFixture.h"

namespace nimbrel::sim {
namespace {

// Records what an observer receives, as "NOTIFICATION@ELEMENT-ID".
class SimObserverTest : public SimDesktopFixture {
  protected:
    ObserverRef observe() {
        return ax().createObserver(1001, [this](ElementRef element, const std::string& name) {
            received.push_back(name + "@" + std::to_string(element.id));
        });
    }
    std::string at(const char* name, ElementRef element) {
        return std::string(name) + "@" + std::to_string(element.id);
    }
    std::vector<std::string> received;
};

TEST_F(SimObserverTest, DeliversOnlyRegisteredPairsAndOnlyWhenTheLoopTurns) {
    ObserverRef observer = observe();
    ASSERT_TRUE(observer);
    ASSERT_EQ(ax().addNotification(observer, front, "AXWindowMoved"), AXError::success);
    ASSERT_EQ(ax().addNotification(observer, safari(), "AXFocusedWindowChanged"), AXError::success);

    ASSERT_TRUE(desktop.moveWindow(front, {10, 10}).ok());
    ASSERT_TRUE(desktop.moveWindow(back, {20, 20}).ok());     // not registered
    ASSERT_TRUE(desktop.resizeWindow(front, {50, 50}).ok());  // other notification
    EXPECT_TRUE(received.empty()) << "delivered before the loop turned";
    desktop.runDue();
    EXPECT_EQ(received, std::vector<std::string>{at("AXWindowMoved", front)});

    // The program's own writes notify as well; a focus change names the newly focused window.
    received.clear();
    ASSERT_EQ(ax().setAttributeValue(front, "AXPosition", Point{30, 30}), AXError::success);
    ASSERT_EQ(ax().performAction(back, "AXRaise"), AXError::success);
    desktop.runDue();
    EXPECT_EQ(received, (std::vector<std::string>{at("AXWindowMoved", front),
                                                  at("AXFocusedWindowChanged", back)}));
}

struct ChangeCase {
    const char* name;
    const char* notification;
    std::function<void(SimDesktop&, ElementRef)> change;
};

class SimWindowChange : public SimObserverTest, public testing::WithParamInterface<ChangeCase> {};

TEST_P(SimWindowChange, PostsItsNotificationOnce) {
    ObserverRef observer = observe();
    ASSERT_EQ(ax().addNotification(observer, front, GetParam().notification), AXError::success);
    GetParam().change(desktop, front);
    desktop.runDue();
    EXPECT_EQ(received, std::vector<std::string>{at(GetParam().notification, front)});
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SimWindowChange,
    testing::Values(ChangeCase{"moved", "AXWindowMoved",
                               [](SimDesktop& d, ElementRef w) {
                                   (void)d.moveWindow(w, {1, 1});
                               }},
                    ChangeCase{"resized", "AXWindowResized",
                               [](SimDesktop& d, ElementRef w) {
                                   (void)d.resizeWindow(w, {9, 9});
                               }},
                    ChangeCase{"miniaturized", "AXWindowMiniaturized",
                               [](SimDesktop& d, ElementRef w) { (void)d.minimizeWindow(w); }},
                    ChangeCase{"deminiaturized", "AXWindowDeminiaturized",
                               [](SimDesktop& d, ElementRef w) {
                                   (void)d.minimizeWindow(w);
                                   (void)d.restoreWindow(w);
                               }},
                    ChangeCase{
                        "title", "AXTitleChanged",
                        [](SimDesktop& d, ElementRef w) { (void)d.setWindowTitle(w, "New"); }},
                    ChangeCase{"destroyed", "AXUIElementDestroyed",
                               [](SimDesktop& d, ElementRef w) { (void)d.closeWindow(w); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimObserverTest, PinnedOrUnchangedWindowPostsNothing) {
    ObserverRef observer = observe();
    ASSERT_EQ(ax().addNotification(observer, front, "AXWindowMoved"), AXError::success);
    ASSERT_TRUE(desktop.pinWindow(front).ok());
    ASSERT_EQ(ax().setAttributeValue(front, "AXPosition", Point{0, 0}), AXError::success);
    ASSERT_TRUE(desktop.moveWindow(back, {200, 150}).ok());
    ASSERT_EQ(ax().setAttributeValue(back, "AXPosition", Point{100, 100}), AXError::success);
    desktop.runDue();
    EXPECT_TRUE(received.empty());
}

TEST_F(SimObserverTest, EndedRegistrationsAndObserversNeverFire) {
    ObserverRef kept = observe();
    ObserverRef dropped = observe();
    ASSERT_EQ(ax().addNotification(kept, front, "AXWindowMoved"), AXError::success);
    ASSERT_EQ(ax().addNotification(kept, back, "AXWindowMoved"), AXError::success);
    ASSERT_EQ(ax().addNotification(dropped, front, "AXWindowMoved"), AXError::success);

    ASSERT_TRUE(desktop.moveWindow(front, {1, 1}).ok());
    ASSERT_TRUE(desktop.moveWindow(back, {2, 2}).ok());
    // Both end after the change was queued and before it is delivered.
    ax().destroyObserver(dropped);
    ASSERT_EQ(ax().removeNotification(kept, back, "AXWindowMoved"), AXError::success);
    desktop.runDue();
    EXPECT_EQ(received, std::vector<std::string>{at("AXWindowMoved", front)});
    EXPECT_EQ(ax().removeNotification(kept, back, "AXWindowMoved"), AXError::failure);
    EXPECT_EQ(ax().addNotification(dropped, front, "AXWindowMoved"), AXError::illegalArgument);
}

TEST_F(SimObserverTest, CallbackMayDestroyItsOwnObserver) {
    ObserverRef observer;
    int calls = 0;
    observer = ax().createObserver(1001, [&](ElementRef, const std::string&) {
        ++calls;
        ax().destroyObserver(observer);
    });
    ASSERT_EQ(ax().addNotification(observer, front, "AXWindowMoved"), AXError::success);
    ASSERT_EQ(ax().addNotification(observer, front, "AXWindowResized"), AXError::success);
    ASSERT_TRUE(desktop.moveWindow(front, {1, 1}).ok());
    ASSERT_TRUE(desktop.resizeWindow(front, {5, 5}).ok());
    desktop.runDue();
    EXPECT_EQ(calls, 1);
}

TEST_F(SimObserverTest, ObserverWatchesOnlyItsOwnProcess) {
    ASSERT_TRUE(desktop.launchApp(1002, "Mail").ok());
    ElementRef mailWindow;
    ASSERT_TRUE(desktop.openWindow(1002, {"Inbox", {0, 0, 100, 100}}, &mailWindow).ok());
    ObserverRef observer = observe();
    EXPECT_EQ(ax().addNotification(observer, mailWindow, "AXWindowMoved"),
              AXError::illegalArgument);
    EXPECT_FALSE(ax().createObserver(4242, [](ElementRef, const std::string&) {}));
}

TEST_F(SimObserverTest, ProgramEndTakesItsObserversSubscriptionsAndQueuedWork) {
    ASSERT_TRUE(desktop.programStarted().ok());
    EXPECT_EQ(desktop.workspace().ownProcessID(), 1);
    ObserverRef observer = observe();
    ASSERT_EQ(ax().addNotification(observer, front, "AXWindowMoved"), AXError::success);
    int launches = 0;
    Subscription launchWatch =
        desktop.workspace().observe(WorkspaceAppEvent::didLaunch, [&](AppRef) { ++launches; });
    int ticks = 0;
    desktop.loop().startTimer(5, true, [&] { ++ticks; });

    ASSERT_TRUE(desktop.moveWindow(front, {1, 1}).ok());  // queued, not delivered
    desktop.programEnded();
    ASSERT_TRUE(desktop.launchApp(1003, "Notes").ok());
    desktop.advanceTime(20);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(launches, 0);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(desktop.observerCount(), 0u);
    EXPECT_FALSE(desktop.isProgramRunning());
    launchWatch.cancel();  // a subscription outliving the program's end cancels nothing
}

}  // namespace
}  // namespace nimbrel::sim
