#include "platform/x11/X11EventSource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/x11/display/TestClient.h"

namespace nimbrel::test {
namespace {

using x11::Connection;

class X11EventSourceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        connection = Connection::open();
        ASSERT_NE(connection, nullptr) << "no X server at DISPLAY";
        events.emplace(*connection);
        screens.emplace(*connection);
        source.emplace(*connection, *events, *screens);
        ASSERT_TRUE(source->watchesRawInput());
    }

    // Sends input as a user would (through the server's input path) and waits until the given
    // kind of input counts as newer than it did before.
    bool counts(const char* command, InputEventType type) {
        // The server counts in milliseconds: right after input it says 0, which nothing undercuts.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        events->drain();
        double before = source->secondsSinceLastEvent(type);
        if (std::system(command) != 0) {
            return false;
        }
        return eventually(*connection, [&] {
            events->drain();
            return source->secondsSinceLastEvent(type) < before;
        });
    }

    std::unique_ptr<Connection> connection;
    std::optional<x11::EventHub> events;
    std::optional<x11::X11Screens> screens;
    std::optional<x11::X11EventSource> source;
};

TEST_F(X11EventSourceTest, EachKindOfInputCountsOnItsOwn) {
    double click = source->secondsSinceLastEvent(InputEventType::leftMouseUp);
    EXPECT_TRUE(counts("xdotool key shift", InputEventType::keyDown));
    EXPECT_TRUE(counts("xdotool key shift", InputEventType::any));
    // A right click is not a left one.
    EXPECT_TRUE(counts("xdotool click 3", InputEventType::any));
    EXPECT_GE(source->secondsSinceLastEvent(InputEventType::leftMouseUp), click);
    EXPECT_TRUE(counts("xdotool click 1", InputEventType::leftMouseUp));
    EXPECT_GT(source->secondsSinceLastEvent(InputEventType::keyDown),
              source->secondsSinceLastEvent(InputEventType::leftMouseUp));
}

TEST_F(X11EventSourceTest, PointerMovesAreToldWithThePointersPlaceInScreenSpace) {
    ASSERT_EQ(std::system("xdotool mousemove 100 100"), 0);
    std::vector<Point> heard;
    Subscription moves = source->observeMouseMoved([&](Point p) { heard.push_back(p); });
    ASSERT_TRUE(moves.isActive());
    EXPECT_TRUE(counts("xdotool mousemove_relative 20 10", InputEventType::mouseMoved));
    ASSERT_FALSE(heard.empty());
    // The root window is 900 high: 110 down from the top is 790 up from the bottom.
    EXPECT_EQ(heard.back(), (Point{120, 790}));

    moves.cancel();
    heard.clear();
    EXPECT_TRUE(counts("xdotool mousemove_relative 5 5", InputEventType::mouseMoved));
    EXPECT_TRUE(heard.empty());
}

}  // namespace
}  // namespace nimbrel::test
