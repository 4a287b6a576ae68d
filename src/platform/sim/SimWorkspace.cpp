#include "platform/sim/SimWorkspace.h"

namespace nimbrel::sim {

std::vector<AppRef> SimWorkspace::runningApplications() {
    std::vector<AppRef> running;
    for (AppRef ref : world_.launchOrder()) {
        if (!world_.app(ref)->terminated) {
            running.push_back(ref);
        }
    }
    return running;
}

std::optional<AppRef> SimWorkspace::runningApplication(Pid pid) {
    if (SimApp* a = world_.runningApp(pid)) {
        return a->ref;
    }
    return std::nullopt;
}

// A handle the desktop never issued answers as an application that has gone.
Pid SimWorkspace::processID(AppRef app) {
    const SimApp* a = world_.app(app);
    return a != nullptr ? a->pid : 0;
}

std::optional<std::string> SimWorkspace::bundleIdentifier(AppRef app) {
    const SimApp* a = world_.app(app);
    return a != nullptr ? a->bundleID : std::nullopt;
}

std::optional<std::string> SimWorkspace::localizedName(AppRef app) {
    const SimApp* a = world_.app(app);
    if (a == nullptr) {
        return std::nullopt;
    }
    return a->name;
}

ActivationPolicy SimWorkspace::activationPolicy(AppRef app) {
    const SimApp* a = world_.app(app);
    return a != nullptr ? a->policy : ActivationPolicy::prohibited;
}

bool SimWorkspace::isTerminated(AppRef app) {
    const SimApp* a = world_.app(app);
    return a == nullptr || a->terminated;
}

bool SimWorkspace::isHidden(AppRef app) {
    const SimApp* a = world_.app(app);
    return a != nullptr && a->hidden;
}

}  // namespace nimbrel::sim
