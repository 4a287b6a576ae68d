#include "ProgramHost.h"

#include "app/ProgramEntry.h"
#include "platform/sim/SimDesktop.h"

namespace nimbrel::console {

ProgramHost::ProgramHost(sim::SimDesktop& desktop) : desktop_(desktop) {
    desktop_.setTerminateReplyHandler([this](bool granted) { terminationAnswered(granted); });
}

ProgramHost::~ProgramHost() {
    desktop_.setTerminateReplyHandler(nullptr);
    delegate_.reset();
}

void ProgramHost::start(const Options& options) {
    options_ = options;
    desktop_.programStarted();
    strings_ = std::make_unique<Localizer>(options.keysLanguage ? nullptr : &english_);
    platform_ = std::make_unique<Platform>(desktop_.platform(*strings_));
    delegate_ = launchProgram(*platform_);
    delegate_->onAuthenticated = [this](const std::string& reason, bool granted) {
        desktop_.events().emit("auth " + reason + " -> " + (granted ? "true" : "false"));
    };
}

void ProgramHost::quit() {
    if (delegate_->applicationShouldTerminate() == TerminateReply::now) {
        desktop_.events().emit("quit now");
        desktop_.events().emit("quit done");
        endProcess();
        return;
    }
    desktop_.events().emit("quit later");
}

void ProgramHost::updateRelaunch() {
    delegate_->updaterWillRelaunch();
    relaunchPending_ = true;
    quit();
}

void ProgramHost::terminationAnswered(bool granted) {
    if (!granted) {
        relaunchPending_ = false;
        return;
    }
    // The answer comes from inside the program's own callback: the process ends once that work
    // has returned, as the real one ends after its event-loop turn.
    desktop_.loop().post([this] {
        if (delegate_) {
            endProcess();
        }
    });
}

void ProgramHost::endProcess() {
    // The program's objects go first, while the desktop still knows their registrations.
    delegate_.reset();
    platform_.reset();
    desktop_.programEnded();
    if (relaunchPending_) {
        relaunchPending_ = false;
        start(options_);
    }
}

void ProgramHost::kill() {
    relaunchPending_ = false;
    endProcess();
}

void ProgramHost::endSession() {
    relaunchPending_ = false;
    delegate_->endForSession();
    desktop_.events().emit("quit done");
    endProcess();
}

void ProgramHost::reopen() {
    delegate_->applicationShouldHandleReopen(false);
}

}  // namespace nimbrel::console
