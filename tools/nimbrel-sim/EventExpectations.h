#pragma once

namespace nimbrel::console {

class Console;

// expect event TEXT / expect no-event TEXT over the console's recent event lines.
void registerEventExpectations(Console& console);

}  // namespace nimbrel::console
