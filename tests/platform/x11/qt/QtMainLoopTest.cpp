#include "platform/x11/qt/QtMainLoop.h"

#include <gtest/gtest.h>

#include "QtDisplay.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QEventLoop>

#include <string>
#include <vector>

namespace nimbrel::x11 {
namespace {

using test::spinUntil;

TEST(QtMainLoopTest, PostedWorkAndTimersRunInOrderAndCancelledTimersNever) {
    QtMainLoop loop;
    std::vector<std::string> ran;
    loop.post([&] { ran.push_back("first"); });
    loop.post([&] { ran.push_back("second"); });
    TimerId cancelled = loop.startTimer(0.01, false, [&] { ran.push_back("cancelled"); });
    loop.cancelTimer(cancelled);
    loop.cancelTimer(12345);
    int repeats = 0;
    TimerId repeating = 0;
    repeating = loop.startTimer(0.01, true, [&] {
        if (++repeats == 3) {
            loop.cancelTimer(repeating);  // from inside its own firing
        }
    });
    loop.startTimer(0.05, false, [&] { ran.push_back("once"); });

    ASSERT_TRUE(spinUntil([&] { return ran.size() >= 3 && repeats >= 3; }));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "once"}));
    EXPECT_EQ(repeats, 3);
}

TEST(QtMainLoopTest, AHeldLoopKeepsItsWorkUntilReleasedThenRunsItInOrder) {
    QtMainLoop loop;
    std::vector<std::string> ran;
    loop.hold();
    loop.post([&] { ran.push_back("posted"); });
    int fires = 0;
    TimerId repeating = loop.startTimer(0.005, true, [&] { ++fires; });
    loop.startTimer(0.005, false, [&] { ran.push_back("timer"); });
    // Like a modal alert's nested loop: Qt turns, the program's work does not.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 100) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(fires, 0);

    loop.release();
    EXPECT_TRUE(ran.empty()) << "the waiting work runs on a later turn, not inside release()";
    loop.post([&] { ran.push_back("after"); });
    ASSERT_TRUE(spinUntil([&] { return ran.size() == 3; }));
    EXPECT_EQ(ran, (std::vector<std::string>{"posted", "timer", "after"}));
    // Many firings of a repeating timer while held count once.
    EXPECT_GE(fires, 1);
    loop.cancelTimer(repeating);
}

TEST(QtMainLoopTest, TheClockCountsFromTheReferenceDate) {
    QtMainLoop loop;
    // 2020-01-01 and 2100-01-01 on the reference scale.
    EXPECT_GT(loop.now(), 599616000.0);
    EXPECT_LT(loop.now(), 3124137600.0);
}

}  // namespace
}  // namespace nimbrel::x11
