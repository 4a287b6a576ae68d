#include "app/AppDelegate.h"

#include "app/LockedAtExit.h"
#include "app/update/UpdateResume.h"

namespace nimbrel {

AppDelegate::AppDelegate(Platform& platform)
    : platform_(platform), ownWindowPlacement_(platform.screens, [this] { return screenChoice_; }) {
    auto ownBundle = [&]() -> std::optional<std::string> {
        auto own = platform.workspace.runningApplication(platform.workspace.ownProcessID());
        return own ? platform.workspace.bundleIdentifier(*own) : std::nullopt;
    };
    protection_ = std::make_unique<AccessProtection>(ProtectionServices{
        platform.keychain, platform.localAuthentication, platform.alerts, platform.defaults,
        platform.application, platform.sound, platform.loop, platform.strings, ownBundle(),
        guard_.wrap([this] { return ownWindowPlacement_.chosenScreen(); })});

    AppPassword::Status status = protection_->password().status();
    SettingsStore::Services services{platform.defaults, platform.strings, platform.sound,
                                     platform.keyMonitor, platform.keyboardLayout};
    services.authenticate = weakAuthenticate();
    services.hasAppPassword = status == AppPassword::Status::set;
    services.appPasswordMissing = status == AppPassword::Status::missing;
    services.runSetPasswordFlow = guard_.wrap(
        [this](std::function<void(bool)> completion) {
            protection_->setPasswordDialog().setInteractively(std::move(completion));
        },
        [](std::function<void(bool)> completion) { completion(false); });
    services.removeAppPassword = guard_.wrap([this] { return protection_->password().clear(); });
    services.screenChoiceChanged = guard_.wrap([this](const std::string& id, const std::string&) {
        screenChoice_ = ScreenChoice::fromIdentifier(id);
    });
    store_ = std::make_unique<SettingsStore>(std::move(services));
    attempts_ = std::make_unique<AttemptsLog>(platform.defaults);
    minimizer_ = std::make_unique<WindowMinimizer>(
        EngineServices{platform.accessibility, platform.workspace, platform.screens,
                       platform.eventSource, platform.loop, platform.strings},
        engineCallbacks());
    hotKeys_ = std::make_unique<HotKeyCenter>(platform.hotKeys);
    hud_ = std::make_unique<HUD>(platform.panels, platform.textMetrics, platform.screens,
                                 platform.loop, [this] { return screenChoice_; });
    bindingLookup_ = std::make_unique<BindingLookup>(*store_, *minimizer_, platform.workspace);
    screenShare_ =
        std::make_unique<ScreenShareDetector>(platform.accessibility, platform.workspace);
    triggers_ = std::make_unique<AutoHideTriggers>(AutoHideTriggers::Services{
        *store_, *minimizer_, *bindingLookup_, *screenShare_, platform.accessibility,
        platform.screens, platform.eventSource, platform.notifications, platform.sound,
        platform.log, platform.loop});
    shortcuts_ = std::make_unique<ShortcutActions>(ShortcutActions::Services{
        *store_, *minimizer_, *hotKeys_, *hud_, *bindingLookup_, *triggers_, platform.accessibility,
        platform.workspace, platform.sound, platform.loop, platform.strings});
    menuActions_ = std::make_unique<MenuActions>(menuServices());
    statusMenu_ = std::make_unique<StatusMenu>(menuServices(), *menuActions_);
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::authenticate(const std::string& reason, std::function<void(bool)> completion) {
    auto report = guard_.wrap([this, reason](bool granted) {
        if (onAuthenticated) {
            onAuthenticated(reason, granted);
        }
    });
    protection_->auth().authenticate(reason,
                                     [report, completion = std::move(completion)](bool granted) {
                                         report(granted);
                                         completion(granted);
                                     });
}

std::function<void(const std::string&, std::function<void(bool)>)> AppDelegate::weakAuthenticate() {
    return guard_.wrap(
        [this](const std::string& reason, std::function<void(bool)> completion) {
            authenticate(reason, std::move(completion));
        },
        [](const std::string&, std::function<void(bool)> completion) { completion(false); });
}

void AppDelegate::applicationDidFinishLaunching() {
    installMenus();
    wireStore();
    shortcuts_->registerHotKeys();
    applyCoverMessage();

    triggers_->observeSystemEvents();
    triggers_->applyTriggerSettings();
    triggers_->startTicking();
    powerOffSubscription_ = platform_.notifications.observe(
        SystemEvent::willPowerOff, guard_.wrap([this] { isPoweringOff_ = true; }));

    // Whether a record was taken decides, later in the sequence, how the appear tracker is primed.
    [[maybe_unused]] bool resumed = resumeAfterUpdate();

    // Taken even when it cannot be used, so that an old record never locks a later window.
    LockedAtExit lockedAtExit = LockedAtExit::take(platform_.defaults);
    if (platform_.accessibility.isProcessTrusted()) {
        long adopted = minimizer_->adoptParked(lockedAtExit.windows);
        if (adopted > 0) {
            platform_.log.log("adopted " + std::to_string(adopted) + " parked windows");
        }
    }

    // The answer is not used: everything that needs the permission checks it when it runs.
    platform_.accessibility.requestTrust();
}

void AppDelegate::wireStore() {
    store_->onShortcutsChanged = guard_.wrap([this] { shortcuts_->registerHotKeys(); });
    store_->onTriggersChanged = guard_.wrap([this] { triggers_->applyTriggerSettings(); });
    store_->onDockIconChanged = guard_.wrap([this] {
        platform_.application.setActivationPolicy(
            store_->showDockIcon().get() ? ActivationPolicy::regular : ActivationPolicy::accessory);
    });
    // The entry made the program an accessory; this corrects it when the user wants a Dock icon.
    store_->onDockIconChanged();
}

WindowMinimizer::Callbacks AppDelegate::engineCallbacks() {
    WindowMinimizer::Callbacks callbacks;
    callbacks.instantHide = guard_.wrap([this] { return store_->instantHide().get(); });
    callbacks.isLockedDesignation = guard_.wrap(
        [this](const WindowRef& window) { return bindingLookup_->isLockedDesignation(window); });
    callbacks.onWindowNumberChanged = guard_.wrap(
        [this](const Uuid& id, WindowNumber number) { store_->updateWindowNumber(id, number); });
    callbacks.isWholeAppDesignation = guard_.wrap(
        [this](const WindowRef& window) { return bindingLookup_->isWholeAppDesignation(window); });
    callbacks.onRevealed = guard_.wrap([this](const WindowRef&) { triggers_->noteRevealed(); });
    callbacks.chosenScreen =
        guard_.wrap([this] { return screenChoice_.resolve(platform_.screens); });
    callbacks.authenticate = weakAuthenticate();
    callbacks.onAttempt =
        guard_.wrap([this](const std::vector<WindowRef>& windows, AttemptReason reason) {
            for (const auto& window : windows) {
                attempts_->record(platform_.loop.now(), minimizer_->access().label(window), reason);
            }
        });
    return callbacks;
}

void AppDelegate::applyCoverMessage() {
    const std::string& message = store_->coverMessage().get();
    minimizer_->setCoverMessage(message.empty() ? platform_.strings.text("cover.label"_key)
                                                : message);
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
    authenticate(reason, guard_.wrap([this, forUpdate](bool success) {
        if (success) {
            shutDown(forUpdate);
        }
        platform_.application.replyToApplicationShouldTerminate(success);
    }));
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

void AppDelegate::endForSession() {
    LockedAtExit record{minimizer_->lockedKeys()};
    minimizer_->releaseForSessionEnd();
    record.save(platform_.defaults);
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
