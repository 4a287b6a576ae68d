#pragma once

namespace nimbrel::console {

class Console;
class ProgramHost;

// menu show, menu click, dock show, dock click, expect menu, expect no-menu: the program's status
// and Dock menus opened and chosen from as the user would.
void registerMenuCommands(Console& console, ProgramHost& host);

}  // namespace nimbrel::console
