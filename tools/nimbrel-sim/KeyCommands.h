#pragma once

namespace nimbrel::sim {
class SimDesktop;
}

namespace nimbrel::console {

class Console;

// key press|down|up|hold|taken|free, and the read-backs `show hotkeys` and `show keyboard`.
void registerKeyCommands(Console& console, sim::SimDesktop& desktop);

}  // namespace nimbrel::console
