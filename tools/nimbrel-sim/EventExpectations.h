#pragma once

namespace nimbrel::console {

class Console;

// expect event TEXT / expect no-event TEXT over the console's recent event lines, and echo TEXT.
void registerEventExpectations(Console& console);

}  // namespace nimbrel::console
