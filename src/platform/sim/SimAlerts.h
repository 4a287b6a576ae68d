#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Alerts.h"

namespace nimbrel::sim {

class SimEventLog;

// The program's alerts on the simulated desktop. Each modal alert prints its event line
// `alert TITLE | MESSAGE | [BUTTONS]` and takes the next queued answer; with none queued, or with
// an answer naming a button the alert does not have, the user closes it without a button.
class SimAlerts final : public Alerts {
  public:
    explicit SimAlerts(SimEventLog& events) : events_(events) {}
    SimAlerts(const SimAlerts&) = delete;
    SimAlerts& operator=(const SimAlerts&) = delete;

    AlertResponse runModal(const AlertRequest& request) override;

    // Control surface: the button's title as shown and the texts typed into the fields in order
    // (fields without a text keep the text they started with).
    void queueAnswer(std::string button, std::vector<std::string> texts = {});
    std::size_t queuedAnswers() const { return answers_.size(); }
    // Every alert shown, in order.
    const std::vector<AlertRequest>& shown() const { return shown_; }

    static std::string eventLine(const AlertRequest& request);

  private:
    struct Answer {
        std::string button;
        std::vector<std::string> texts;
    };
    SimEventLog& events_;
    std::deque<Answer> answers_;
    std::vector<AlertRequest> shown_;
};

}  // namespace nimbrel::sim
