#include "EventExpectations.h"

#include "Console.h"
#include "Values.h"

namespace nimbrel::console {
namespace {

// The recent events as the FAIL line shows them.
std::string listed(const std::vector<std::string>& events) {
    if (events.empty()) {
        return "no events";
    }
    std::string text;
    for (const auto& line : events) {
        text += (text.empty() ? "" : " | ") + ("* " + line);
    }
    return text;
}

const std::string* firstContaining(const std::vector<std::string>& events,
                                   const std::string& text) {
    for (const auto& line : events) {
        if (line.find(text) != std::string::npos) {
            return &line;
        }
    }
    return nullptr;
}

}  // namespace

void registerEventExpectations(Console& console) {
    Console* con = &console;
    // `echo TEXT` prints TEXT as an event line: a script's own remark, also expectable.
    console.addCommand(
        "echo", [con](CommandContext& c) { con->desktop().events().emit("echo " + c.rest(0)); });
    console.addExpectation("event", [con](CommandContext& c) {
        std::string text = c.rest(0);
        const auto& events = con->recentEvents();
        bool holds = firstContaining(events, text) != nullptr;
        return Console::Verdict{holds, listed(events)};
    });
    console.addExpectation("no-event", [con](CommandContext& c) {
        std::string text = c.rest(0);
        const std::string* line = firstContaining(con->recentEvents(), text);
        return Console::Verdict{line == nullptr, line != nullptr ? "* " + *line : ""};
    });
}

}  // namespace nimbrel::console
