#include "app/AppDelegate.h"

#include "app/update/UpdateResume.h"

namespace nimbrel {

AppDelegate::AppDelegate(Platform& platform)
    : platform_(platform), minimizer_(std::make_unique<WindowMinimizer>(platform)) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    wireEngine();

    auto token = guard_.token();
    powerOffSubscription_ =
        platform_.notifications.observe(SystemEvent::willPowerOff, [this, token] {
            if (LifetimeGuard::alive(token)) {
                isPoweringOff_ = true;
            }
        });

    // Whether a record was taken decides, later in the sequence, how the appear tracker is primed.
    [[maybe_unused]] bool resumed = resumeAfterUpdate();

    if (platform_.accessibility.isProcessTrusted()) {
        long adopted = minimizer_->adoptParked();
        if (adopted > 0) {
            platform_.log.log("adopted " + std::to_string(adopted) + " parked windows");
        }
    }

    // The answer is not used: everything that needs the permission checks it when it runs.
    platform_.accessibility.requestTrust();
}

void AppDelegate::wireEngine() {
    auto token = guard_.token();
    minimizer_->onRevealed = [this, token](const WindowRef&) {
        if (LifetimeGuard::alive(token)) {
            revealedAt_ = platform_.loop.now();
        }
    };
    minimizer_->authenticate = [this, token](const std::string& reason,
                                             std::function<void(bool)> completion) {
        if (!LifetimeGuard::alive(token) || !authenticate) {
            completion(false);
            return;
        }
        authenticate(reason, std::move(completion));
    };
    minimizer_->setCoverMessage(platform_.strings.text("cover.label"_key));
}

bool AppDelegate::resumeAfterUpdate() {
    auto record = UpdateResume::take(platform_.defaults, platform_.loop.now());
    if (!record) {
        return false;
    }
    if (!platform_.accessibility.isProcessTrusted()) {
        return true;
    }
    long count = minimizer_->applyResume(record->windows, record->focusLocked);
    if (count > 0 || record->focusLocked) {
        showNotice(platform_.strings.text("hud.resumed.title"_key),
                   platform_.strings.text("hud.resumed.detail"_key));
    }
    return true;
}

void AppDelegate::showNotice(const std::string&, const std::string&) {
    // The on-screen notice panel shows these once it is part of the program.
}

TerminateReply AppDelegate::applicationShouldTerminate() {
    minimizer_->prune();
    bool forUpdate = relaunchingForUpdate_;
    relaunchingForUpdate_ = false;
    if (!minimizer_->hasLocks() || isPoweringOff_) {
        shutDown(forUpdate);
        return TerminateReply::now;
    }
    auto reason =
        platform_.strings.text(forUpdate ? "auth.reason.update"_key : "auth.reason.quit"_key);
    auto token = guard_.token();
    auto reply = [this, token, forUpdate](bool success) {
        if (!LifetimeGuard::alive(token)) {
            return;
        }
        if (success) {
            shutDown(forUpdate);
        }
        platform_.application.replyToApplicationShouldTerminate(success);
    };
    if (authenticate) {
        authenticate(reason, reply);
    } else {
        // No gate, no way to prove who asks: a protected quit is refused.
        platform_.loop.post([reply] { reply(false); });
    }
    return TerminateReply::later;
}

void AppDelegate::shutDown(bool forUpdate) {
    if (!forUpdate) {
        minimizer_->releaseAll();
        return;
    }
    UpdateResume record;
    record.savedAt = platform_.loop.now();
    record.windows = minimizer_->resumeWindows();
    record.focusLocked = minimizer_->resumeFocusLocked();
    if (!record.isEmpty()) {
        record.save(platform_.defaults);
    }
    minimizer_->convertCoveredForRelaunch();
}

bool AppDelegate::applicationShouldHandleReopen(bool) {
    openSettings();
    return false;
}

void AppDelegate::openSettings() {
    // One settings window for the life of the process, reused on every call.
    settingsWindowOpen_ = true;
    platform_.application.activateIgnoringOtherApps();
}

}  // namespace nimbrel
