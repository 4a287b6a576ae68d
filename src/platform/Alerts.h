#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Screens.h"

namespace nimbrel {

// A text field of an alert, stacked below the message (240 × 24 points each, 8 apart).
struct AlertField {
    bool secure = false;  // shows dots and keeps the text out of the pasteboard
    std::string placeholder;
    std::string text;  // the text it starts with
    friend bool operator==(const AlertField&, const AlertField&) = default;
};

struct AlertRequest {
    std::string title;    // the bold message text
    std::string message;  // the informative text below it; may be empty
    // The first button is the default one (Return). At least one.
    std::vector<std::string> buttons;
    std::vector<AlertField> fields;  // the first one takes the keyboard focus
    // When set and the alert's centre would lie outside this screen, the alert is moved onto it,
    // centred horizontally and a little above the middle of its visible frame.
    std::optional<Screen> screen;
};

struct AlertResponse {
    // Index into the request's buttons; none when the alert ended without a button (closed,
    // cancelled by the system).
    std::optional<std::size_t> button;
    std::vector<std::string> texts;  // one per field, in order
};

// The program's own alerts and panels. A modal alert blocks the caller until it is dismissed; the
// main loop does not turn meanwhile.
class Alerts {
  public:
    virtual ~Alerts() = default;
    virtual AlertResponse runModal(const AlertRequest& request) = 0;
};

}  // namespace nimbrel
