#pragma once

namespace nimbrel::sim {
class SimDesktop;
}

namespace nimbrel::console {

class Console;

// keychain show|delete|refuse, and `show keychain`: the program's password item as seen from
// outside the program.
void registerKeychainCommands(Console& console, sim::SimDesktop& desktop);

}  // namespace nimbrel::console
