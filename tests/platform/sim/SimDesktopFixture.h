#pragma once

#include <gtest/gtest.h>

#include "platform/sim/SimDesktop.h"

namespace nimbrel::sim {

// Two screens side by side (1440 x 900 primary, 1920 x 1080 to its right, top edges level), one
// regular application with two windows, front to back: `front` then `back`.
class SimDesktopFixture : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(desktop.addScreen("main", {0, 0, 1440, 900}).ok());
        ASSERT_TRUE(desktop.addScreen("side", {1440, 0, 1920, 1080}).ok());
        ASSERT_TRUE(desktop.launchApp(1001, "Safari", std::string("com.apple.Safari")).ok());
        ASSERT_TRUE(desktop.openWindow(1001, {"Back", {100, 100, 800, 600}}, &back).ok());
        ASSERT_TRUE(desktop.openWindow(1001, {"Front", {200, 150, 640, 480}}, &front).ok());
        desktop.runDue();
    }

    AXValue read(ElementRef element, const char* attribute, AXError* error = nullptr) {
        AXValue value;
        AXError e = ax().copyAttributeValue(element, attribute, value);
        if (error != nullptr) {
            *error = e;
        }
        return value;
    }
    Accessibility& ax() { return desktop.accessibility(); }
    ElementRef safari() { return ax().applicationElement(1001); }

    SimDesktop desktop;
    ElementRef back;
    ElementRef front;
};

}  // namespace nimbrel::sim
