#include "EventExpectations.h"

#include "CommandFamily.h"
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

// `echo TEXT` prints TEXT as an event line: a script's own remark, also expectable.
void echo(Console& console, CommandContext& c) {
    console.desktop().events().emit("echo " + c.rest(0));
}

constexpr Verb<Console> kEventCommands[] = {{"echo", echo}};

Console::Verdict eventExpectation(Console& console, CommandContext& c) {
    std::string text = c.rest(0);
    const auto& events = console.recentEvents();
    bool holds = firstContaining(events, text) != nullptr;
    return Console::Verdict{holds, listed(events)};
}

Console::Verdict noEventExpectation(Console& console, CommandContext& c) {
    std::string text = c.rest(0);
    const std::string* line = firstContaining(console.recentEvents(), text);
    return Console::Verdict{line == nullptr, line != nullptr ? "* " + *line : ""};
}

constexpr Expectation<Console> kEventExpectations[] = {
    {"event", eventExpectation},
    {"no-event", noEventExpectation},
};

}  // namespace

void registerEventExpectations(Console& console) {
    addCommands(console, console, kEventCommands);
    addExpectations(console, console, kEventExpectations);
}

}  // namespace nimbrel::console
