#include <gtest/gtest.h>

#include "platform/sim/SimAlerts.h"
#include "platform/sim/SimEventLog.h"

namespace nimbrel::sim {
namespace {

AlertRequest panel() {
    AlertRequest request;
    request.title = "Enter the password";
    request.message = "to show locked windows";
    request.buttons = {"OK", "Not now"};
    request.fields = {AlertField{true, "Password", ""}, AlertField{false, "Name", "draft"}};
    return request;
}

class SimAlertsTest : public ::testing::Test {
  protected:
    SimEventLog events;
    SimAlerts alerts{events};
};

TEST_F(SimAlertsTest, PrintsItsEventLineWithTheButtonsAsAList) {
    alerts.runModal(panel());
    EXPECT_EQ(events.lines(),
              std::vector<std::string>{"alert Enter the password | to show locked windows | [OK "
                                       "\"Not now\"]"});
}

TEST_F(SimAlertsTest, AQueuedAnswerPressesTheButtonByTitleAndTypesTheTexts) {
    alerts.queueAnswer("Not now", {"secret"});
    auto response = alerts.runModal(panel());
    EXPECT_EQ(response.button, 1u);
    EXPECT_EQ(response.texts, (std::vector<std::string>{"secret", "draft"}));
}

TEST_F(SimAlertsTest, WithoutAUsableAnswerTheAlertIsClosedWithoutAButton) {
    alerts.queueAnswer("Cancel", {"typed"});
    auto unknown = alerts.runModal(panel());
    auto none = alerts.runModal(panel());
    for (const auto& response : {unknown, none}) {
        EXPECT_EQ(response.button, std::nullopt);
        EXPECT_EQ(response.texts, (std::vector<std::string>{"", "draft"}));
    }
    EXPECT_EQ(alerts.queuedAnswers(), 0u);
    EXPECT_EQ(alerts.shown().size(), 2u);
}

}  // namespace
}  // namespace nimbrel::sim
