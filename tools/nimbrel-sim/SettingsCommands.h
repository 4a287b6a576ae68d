#pragma once

namespace nimbrel::sim {
class SimDesktop;
}

namespace nimbrel::console {

class Console;
class ProgramHost;

// settings ...: runs the settings store's operations as the settings window does (setters,
// recording a shortcut, presets, locking, whole-app toggles, designating, removals, allowed apps);
// show settings, show binding N.
void registerSettingsCommands(Console& console, sim::SimDesktop& desktop, ProgramHost& host);

}  // namespace nimbrel::console
