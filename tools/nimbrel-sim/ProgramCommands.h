#pragma once

namespace nimbrel::sim {
class SimDesktop;
}

namespace nimbrel::console {

class Console;
class ProgramHost;

// nimbrel (start, quit, update-relaunch, kill, reopen), engine ..., show engine: the commands that
// run the program itself and reach into its engine.
void registerProgramCommands(Console& console, sim::SimDesktop& desktop, ProgramHost& host);

}  // namespace nimbrel::console
