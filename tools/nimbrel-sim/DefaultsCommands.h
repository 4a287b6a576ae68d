#pragma once

namespace nimbrel::sim {
class SimDesktop;
}

namespace nimbrel::console {

class Console;

// defaults set / set-data / delete / fail, show defaults KEY, expect defaults KEY contains TEXT.
void registerDefaultsCommands(Console& console, sim::SimDesktop& desktop);

}  // namespace nimbrel::console
