#include "app/AppDelegate.h"

#include "app/update/UpdateResume.h"

namespace nimbrel {

AppDelegate::AppDelegate(Platform& platform)
    : platform_(platform), ownWindowPlacement_(platform.screens, [this] { return screenChoice_; }) {
    auto token = guard_.token();
    auto ownBundle = [&]() -> std::optional<std::string> {
        auto own = platform.workspace.runningApplication(platform.workspace.ownProcessID());
        return own ? platform.workspace.bundleIdentifier(*own) : std::nullopt;
    };
    protection_ = std::make_unique<AccessProtection>(ProtectionServices{
        platform.keychain, platform.localAuthentication, platform.alerts, platform.defaults,
        platform.application, platform.sound, platform.loop, platform.strings, ownBundle(),
        [this, token] {
            return LifetimeGuard::alive(token) ? ownWindowPlacement_.chosenScreen() : std::nullopt;
        }});

    AppPassword::Status status = protection_->password().status();
    SettingsStore::Services services{platform.defaults, platform.strings, platform.sound,
                                     platform.keyMonitor, platform.keyboardLayout};
    services.authenticate = [this, token](const std::string& reason,
                                          std::function<void(bool)> completion) {
        if (!LifetimeGuard::alive(token)) {
            completion(false);
            return;
        }
        authenticate(reason, std::move(completion));
    };
    services.hasAppPassword = status == AppPassword::Status::set;
    services.appPasswordMissing = status == AppPassword::Status::missing;
    services.runSetPasswordFlow = [this, token](std::function<void(bool)> completion) {
        if (!LifetimeGuard::alive(token)) {
            completion(false);
            return;
        }
        protection_->setPasswordDialog().setInteractively(std::move(completion));
    };
    services.removeAppPassword = [this, token] {
        return LifetimeGuard::alive(token) && protection_->password().clear();
    };
    services.screenChoiceChanged = [this, token](const std::string& id, const std::string&) {
        if (LifetimeGuard::alive(token)) {
            screenChoice_ = ScreenChoice::fromIdentifier(id);
        }
    };
    store_ = std::make_unique<SettingsStore>(std::move(services));
    minimizer_ = std::make_unique<WindowMinimizer>(platform);
    hotKeys_ = std::make_unique<HotKeyCenter>(platform.hotKeys);
    hud_ = std::make_unique<HUD>(platform.panels, platform.textMetrics, platform.screens,
                                 platform.loop, [this] { return screenChoice_; });
    screenCount_ = static_cast<long>(platform.screens.screens().size());
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::authenticate(const std::string& reason, std::function<void(bool)> completion) {
    auto token = guard_.token();
    protection_->auth().authenticate(
        reason, [this, token, reason, completion = std::move(completion)](bool granted) {
            if (LifetimeGuard::alive(token) && onAuthenticated) {
                onAuthenticated(reason, granted);
            }
            completion(granted);
        });
}

void AppDelegate::applicationDidFinishLaunching() {
    wireStore();
    registerHotKeys();
    wireEngine();

    auto token = guard_.token();
    screensSubscription_ =
        platform_.notifications.observe(SystemEvent::screenParametersChanged, [this, token] {
            if (LifetimeGuard::alive(token)) {
                screenParametersChanged();
            }
        });
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

void AppDelegate::wireStore() {
    auto token = guard_.token();
    store_->onShortcutsChanged = [this, token] {
        if (LifetimeGuard::alive(token)) {
            registerHotKeys();
        }
    };
    store_->onDockIconChanged = [this, token] {
        if (LifetimeGuard::alive(token)) {
            platform_.application.setActivationPolicy(store_->showDockIcon().get()
                                                          ? ActivationPolicy::regular
                                                          : ActivationPolicy::accessory);
        }
    };
    // The entry made the program an accessory; this corrects it when the user wants a Dock icon.
    store_->onDockIconChanged();
}

void AppDelegate::wireEngine() {
    auto token = guard_.token();
    minimizer_->instantHide = [this, token] {
        return LifetimeGuard::alive(token) && store_->instantHide().get();
    };
    minimizer_->isLockedDesignation = [this, token](const WindowRef& window) {
        if (!LifetimeGuard::alive(token)) {
            return false;
        }
        if (auto id = minimizer_->bindingID(window.element)) {
            if (auto binding = store_->binding(*id); binding && binding->locked) {
                return true;
            }
        }
        LiveWindow live = liveWindow(window);
        for (const auto& binding : store_->bindings().get()) {
            if (binding.locked && binding.matches(live)) {
                return true;
            }
        }
        return false;
    };
    minimizer_->onWindowNumberChanged = [this, token](const Uuid& id, WindowNumber number) {
        if (LifetimeGuard::alive(token)) {
            store_->updateWindowNumber(id, number);
        }
    };
    minimizer_->isWholeAppDesignation = [this, token](const WindowRef& window) {
        if (!LifetimeGuard::alive(token)) {
            return false;
        }
        LiveApp app = liveApp(window.app);
        for (const auto& binding : store_->bindings().get()) {
            if (binding.wholeApp && binding.matchesApp(app)) {
                return true;
            }
        }
        return false;
    };
    minimizer_->onRevealed = [this, token](const WindowRef&) {
        if (LifetimeGuard::alive(token)) {
            revealedAt_ = platform_.loop.now();
        }
    };
    minimizer_->chosenScreen = [this, token]() -> std::optional<Screen> {
        if (!LifetimeGuard::alive(token)) {
            return std::nullopt;
        }
        return screenChoice_.resolve(platform_.screens);
    };
    minimizer_->authenticate = [this, token](const std::string& reason,
                                             std::function<void(bool)> completion) {
        if (!LifetimeGuard::alive(token)) {
            completion(false);
            return;
        }
        authenticate(reason, std::move(completion));
    };
    const std::string& message = store_->coverMessage().get();
    minimizer_->setCoverMessage(message.empty() ? platform_.strings.text("cover.label"_key)
                                                : message);
}

LiveApp AppDelegate::liveApp(AppRef app) {
    return LiveApp{platform_.workspace.bundleIdentifier(app),
                   platform_.workspace.localizedName(app)};
}

LiveWindow AppDelegate::liveWindow(const WindowRef& window) {
    return LiveWindow{liveApp(window.app), minimizer_->access().windowNumber(window.element),
                      window.title};
}

void AppDelegate::screenParametersChanged() {
    minimizer_->reparkAfterScreenChange();
    long count = static_cast<long>(platform_.screens.screens().size());
    if (store_->autoHideOnMonitorChange().get() && count != screenCount_) {
        hideAllBound(false);
    }
    screenCount_ = count;
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
        hud_->show(platform_.strings.text("hud.resumed.title"_key),
                   platform_.strings.text("hud.resumed.detail"_key));
    }
    return true;
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
    authenticate(reason, [this, token, forUpdate](bool success) {
        if (!LifetimeGuard::alive(token)) {
            return;
        }
        if (success) {
            shutDown(forUpdate);
        }
        platform_.application.replyToApplicationShouldTerminate(success);
    });
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
