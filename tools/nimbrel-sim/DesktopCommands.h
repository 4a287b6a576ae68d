#pragma once

namespace nimbrel::sim {
class SimDesktop;
}

namespace nimbrel::console {

class Console;

// screen, app, win, mouse, input, time, notify and ax: the commands that script the desktop.
void registerDesktopCommands(Console& console, sim::SimDesktop& desktop);

}  // namespace nimbrel::console
