#pragma once

namespace nimbrel::sim {
class SimDesktop;
}

namespace nimbrel::console {

class Console;

// show panels, expect panel KIND FIELD=VALUE..., expect no-panel KIND: the program's own panels
// as the window server shows them.
void registerPanelQueries(Console& console, sim::SimDesktop& desktop);

}  // namespace nimbrel::console
