#pragma once

namespace nimbrel::sim {
class SimDesktop;
}

namespace nimbrel::console {

class Console;

// auth biometrics|owner|next and alert next: what the user will answer to the system's
// authentication sheet and to the program's modal alerts.
void registerAuthCommands(Console& console, sim::SimDesktop& desktop);

}  // namespace nimbrel::console
