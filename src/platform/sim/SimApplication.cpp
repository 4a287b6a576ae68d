#include "platform/sim/SimApplication.h"

namespace nimbrel::sim {

void SimApplication::setActivationPolicy(ActivationPolicy policy) {
    detached_ = policy;
    if (auto program = world_.program()) {
        world_.app(*program)->policy = policy;
    }
}

ActivationPolicy SimApplication::activationPolicy() {
    if (auto program = world_.program()) {
        return world_.app(*program)->policy;
    }
    return detached_;
}

void SimApplication::activateIgnoringOtherApps() {
    if (auto program = world_.program()) {
        world_.activate(*program);
    }
}

}  // namespace nimbrel::sim
