#pragma once

#include <memory>

#include "app/AppDelegate.h"

namespace nimbrel {

// The process entry on a given platform: creates the delegate, makes the program an accessory
// application (no Dock icon) and runs the start-up sequence as the first turn of the event loop.
std::unique_ptr<AppDelegate> launchProgram(Platform& platform);

}  // namespace nimbrel
