#include "UnavailableCommands.h"

#include "Console.h"

namespace nimbrel::console {

void addUnavailableCommand(Console& console, const char* name) {
    console.addCommand(name, [](CommandContext& c) { c.fail("not available yet"); });
}

void addUnavailableQuery(Console& console, const char* name) {
    console.addQuery(
        name, [](CommandContext& c) -> std::vector<std::string> { c.fail("not available yet"); });
}

void addUnavailableExpectation(Console& console, const char* name) {
    console.addExpectation(
        name, [](CommandContext& c) -> Console::Verdict { c.fail("not available yet"); });
}

void registerUnavailableCommands(Console& console) {
    for (const char* name : {"password"}) {
        addUnavailableCommand(console, name);
    }
}

}  // namespace nimbrel::console
