#pragma once

namespace nimbrel::console {

class Console;

// Placeholders for the commands whose services are not part of the desktop yet: each answers
// "not available yet". A service that arrives registers its own names, which replace these.
void registerUnavailableCommands(Console& console);

// The placeholder handlers, for other registration files.
void addUnavailableCommand(Console& console, const char* name);
void addUnavailableQuery(Console& console, const char* name);
void addUnavailableExpectation(Console& console, const char* name);

}  // namespace nimbrel::console
