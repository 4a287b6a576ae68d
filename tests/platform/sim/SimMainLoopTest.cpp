#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/SimMainLoop.h"

namespace nimbrel::sim {
namespace {

TEST(SimMainLoop, RunsDueWorkInTimeOrderAsTimeAdvances) {
    SimMainLoop loop;
    std::vector<std::string> ran;
    loop.startTimer(2.0, false, [&] { ran.push_back("t2@" + std::to_string(int(loop.now()))); });
    loop.startTimer(1.0, false, [&] {
        ran.push_back("t1");
        loop.post([&] { ran.push_back("posted-by-t1"); });
    });
    loop.post([&] { ran.push_back("now"); });
    loop.runDue();
    EXPECT_EQ(ran, std::vector<std::string>{"now"});
    loop.advance(1.5);
    EXPECT_EQ(ran, (std::vector<std::string>{"now", "t1", "posted-by-t1"}));
    EXPECT_DOUBLE_EQ(loop.now(), 1.5);
    loop.advance(1.0);
    EXPECT_EQ(ran.back(), "t2@2");
}

TEST(SimMainLoop, RepeatingTimerCanCancelItselfAndCancelIsIdempotent) {
    SimMainLoop loop;
    int fired = 0;
    TimerId id = 0;
    id = loop.startTimer(5.0, true, [&] {
        if (++fired == 3) {
            loop.cancelTimer(id);
        }
    });
    loop.advance(60);
    EXPECT_EQ(fired, 3);
    loop.cancelTimer(id);
    loop.cancelTimer(12345);
    EXPECT_FALSE(loop.hasPendingWork());
}

TEST(SimMainLoop, TimerObjectCancelsWhenDestroyed) {
    SimMainLoop loop;
    int fired = 0;
    {
        Timer t(loop, 1.0, false, [&] { ++fired; });
    }
    loop.advance(2);
    EXPECT_EQ(fired, 0);
}

}  // namespace
}  // namespace nimbrel::sim
