#include "ProgramCommands.h"

#include "Console.h"
#include "UnavailableCommands.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {

// The program is not part of the build yet. When it is, this file starts it on the desktop
// (desktop.programStarted(), then the process entry with desktop.platform(strings)), ends it
// (desktop.programEnded()) and answers `engine ...` and `show engine` from its engine, naming
// windows with console.names().
void registerProgramCommands(Console& console, sim::SimDesktop& desktop) {
    (void)desktop;
    addUnavailableCommand(console, "nimbrel");
    addUnavailableCommand(console, "engine");
    addUnavailableQuery(console, "engine");
}

}  // namespace nimbrel::console
