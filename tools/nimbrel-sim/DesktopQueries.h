#pragma once

namespace nimbrel::sim {
class SimDesktop;
}

namespace nimbrel::console {

class Console;

// show/expect win, app, and the desktop's own read-backs: process, screen, screens, windows,
// mouse, input, time, ax.
void registerDesktopQueries(Console& console, sim::SimDesktop& desktop);

}  // namespace nimbrel::console
