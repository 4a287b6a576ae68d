#include "app/ProgramEntry.h"

namespace nimbrel {

std::unique_ptr<AppDelegate> launchProgram(Platform& platform) {
    auto delegate = std::make_unique<AppDelegate>(platform);
    platform.application.setActivationPolicy(ActivationPolicy::accessory);
    delegate->applicationDidFinishLaunching();
    return delegate;
}

}  // namespace nimbrel
