#include "StoreFixture.h"
#include "platform/sim/SimAppPresence.h"
#include "settings/AppPresence.h"

namespace nimbrel::test {
namespace {

WindowBinding safariBank() {
    WindowBinding b;
    b.bundleID = "com.apple.Safari";
    b.appName = "Safari";
    b.title = "Bank";
    return b;
}

struct MatchCase {
    const char* name;
    WindowBinding binding;
    LiveWindow window;
    bool matches;
};

class BindingMatching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(BindingMatching, ApplicationThenNumberBeforeTitle) {
    EXPECT_EQ(GetParam().binding.matches(GetParam().window), GetParam().matches);
}

WindowBinding with(WindowBinding b, std::function<void(WindowBinding&)> edit) {
    edit(b);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, BindingMatching,
    ::testing::Values(
        MatchCase{
            "sameTitleNoNumbers", safariBank(), {{"com.apple.Safari", "Safari"}, {}, "Bank"}, true},
        MatchCase{"titleIsCaseSensitive",
                  safariBank(),
                  {{"com.apple.Safari", "Safari"}, {}, "bank"},
                  false},
        MatchCase{
            "otherBundle", safariBank(), {{"org.mozilla.firefox", "Safari"}, {}, "Bank"}, false},
        MatchCase{"appWithoutBundleNeverMatchesABundle",
                  safariBank(),
                  {{std::nullopt, "Safari"}, {}, "Bank"},
                  false},
        MatchCase{"numberDecidesOverEqualTitle",
                  with(safariBank(), [](auto& b) { b.windowNumber = 10; }),
                  {{"com.apple.Safari", "Safari"}, 11, "Bank"},
                  false},
        MatchCase{"equalNumberOverDifferentTitle",
                  with(safariBank(), [](auto& b) { b.windowNumber = 10; }),
                  {{"com.apple.Safari", "Safari"}, 10, "Bank — Statement"},
                  true},
        MatchCase{"unreportedNumberFallsBackToTitle",
                  with(safariBank(), [](auto& b) { b.windowNumber = 10; }),
                  {{"com.apple.Safari", "Safari"}, std::nullopt, "Bank"},
                  true},
        MatchCase{"zeroCountsAsUnreported",
                  with(safariBank(), [](auto& b) { b.windowNumber = 10; }),
                  {{"com.apple.Safari", "Safari"}, 0, "Bank"},
                  true},
        MatchCase{"wholeAppIgnoresWindow",
                  with(safariBank(), [](auto& b) { b.wholeApp = true; }),
                  {{"com.apple.Safari", "Safari"}, 99, "Other"},
                  true},
        MatchCase{"noBundleMatchesByName",
                  with(safariBank(), [](auto& b) { b.bundleID.reset(); }),
                  {{std::nullopt, "Safari"}, {}, "Bank"},
                  true},
        MatchCase{"renamedAppBreaksANameMatch",
                  with(safariBank(), [](auto& b) { b.bundleID.reset(); }),
                  {{std::nullopt, "Safari Beta"}, {}, "Bank"},
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BindingLabel, SingleWindowLabelsAreCutWholeAppLabelsNever) {
    Localizer keys(nullptr);
    BundledStrings english;
    Localizer en(&english);
    WindowBinding b = safariBank();
    EXPECT_EQ(b.label(en), "Safari — Bank");
    b.title = "";
    EXPECT_EQ(b.label(en), "Safari");
    b.title = std::string(70, 't');
    std::string label = b.label(en);
    EXPECT_EQ(label, "Safari — " + std::string(50, 't') + "…");
    b.wholeApp = true;
    b.appName = std::string(70, 'a');
    EXPECT_EQ(b.label(keys), "{window.label.wholeApp|" + std::string(70, 'a') + "}");
}

TEST_F(StoreFixture, TheFirstBindingInOrderMatchesTwoWindowsWithTheSameTitle) {
    auto store = makeStore();
    Uuid first = store->designate({{"com.a", "A"}, std::nullopt, "Doc"});
    store->updateTitle(first, "Doc");  // unchanged: no write needed, no harm
    // A second designation of a same-titled window finds the first binding.
    EXPECT_EQ(store->designate({{"com.a", "A"}, std::nullopt, "Doc"}), first);
    EXPECT_EQ(store->bindings().get().size(), 1u);
    EXPECT_EQ(store->bindingMatching({{"com.a", "A"}, std::nullopt, "Doc"})->id, first);
}

TEST_F(StoreFixture, DesignatingTwiceAdoptsTheNumberAndAddsNothing) {
    auto store = makeStore();
    int announced = 0;
    store->onShortcutsChanged = [&] { ++announced; };
    Uuid id = store->designate({{"com.apple.Safari", "Safari"}, std::nullopt, "Bank"});
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(store->binding(id)->windowNumber, std::nullopt);
    EXPECT_EQ(store->designate({{"com.apple.Safari", "Safari"}, 321, "Bank"}), id);
    EXPECT_EQ(store->bindings().get().size(), 1u);
    EXPECT_EQ(store->binding(id)->windowNumber, 321u);
    EXPECT_EQ(storedDocument()["bindings"][0]["windowNumber"], 321);
    EXPECT_EQ(announced, 1) << "adopting a number is no shortcut change";

    EXPECT_FALSE(store->addLockedBinding({{"com.apple.Safari", "Safari"}, 321, "Bank"}));
    EXPECT_FALSE(store->binding(id)->locked);
    EXPECT_TRUE(store->addLockedBinding({{std::nullopt, std::nullopt}, 5, "Untitled"}));
    EXPECT_EQ(announced, 2);
    const auto& added = store->bindings().get().back();
    EXPECT_TRUE(added.locked);
    EXPECT_EQ(added.appName, "App");
    EXPECT_EQ(added.bundleID, std::nullopt);
}

TEST_F(StoreFixture, TurningALockOffAsksAndTurningItOnDoesNot) {
    auto store = makeStore();
    Uuid id = store->designate({{"com.bank", "Bank"}, 7, "Account"});
    ShortcutTarget window = ShortcutTarget::window(id);
    store->requestSetLocked(true, window);
    EXPECT_TRUE(store->isLocked(window));
    EXPECT_TRUE(auth.reasons.empty());

    auth.next(false);
    store->requestSetLocked(false, window);
    EXPECT_TRUE(store->isLocked(window));
    auth.next(true);
    store->requestSetLocked(false, window);
    EXPECT_FALSE(store->isLocked(window));
    EXPECT_EQ(auth.reasons,
              (std::vector<std::string>(2, strings.text(StringKey{"auth.reason.turnOffLock"}))));

    store->requestSetLocked(true, ShortcutTarget::fixed(ShortcutTarget::Kind::focused));
    EXPECT_TRUE(store->lockFocused().get());
    EXPECT_FALSE(store->isLocked(ShortcutTarget::fixed(ShortcutTarget::Kind::all)));
}

TEST_F(StoreFixture, WideningALockedBindingIsFreeNarrowingItAsks) {
    auto store = makeStore();
    Uuid id = store->designate({{"com.bank", "Bank"}, 7, "Account"});
    store->setLocked(true, ShortcutTarget::window(id));
    store->toggleWholeApp(id);
    EXPECT_TRUE(store->binding(id)->wholeApp);
    EXPECT_TRUE(auth.reasons.empty());

    auth.next(false);
    store->toggleWholeApp(id);
    EXPECT_TRUE(store->binding(id)->wholeApp);
    auth.next(true);
    store->toggleWholeApp(id);
    EXPECT_FALSE(store->binding(id)->wholeApp);
    EXPECT_EQ(auth.reasons.back(), strings.text(StringKey{"auth.reason.narrowWholeApp"}));
}

TEST_F(StoreFixture, NarrowingAppliesOnlyIfTheBindingIsStillWholeAppWhenTheAnswerComes) {
    SettingsStore::Completion pending;
    SettingsStore::Services services{defaults, strings, sound, keyMonitor, layout};
    services.authenticate = [&](const std::string&, SettingsStore::Completion done) {
        pending = std::move(done);
    };
    auto store = std::make_unique<SettingsStore>(std::move(services));
    Uuid id = store->designate({{"com.bank", "Bank"}, 7, "Account"});
    store->setLocked(true, ShortcutTarget::window(id));
    store->toggleWholeApp(id);  // widen
    store->toggleWholeApp(id);  // narrowing asks
    ASSERT_TRUE(pending);
    store->setLocked(false, ShortcutTarget::window(id));
    store->toggleWholeApp(id);  // unlocked now: narrows at once
    EXPECT_FALSE(store->binding(id)->wholeApp);
    pending(true);
    EXPECT_FALSE(store->binding(id)->wholeApp) << "the late answer must not flip it back";

    // An answer that arrives after the store is gone changes nothing and does not crash.
    store->setLocked(true, ShortcutTarget::window(id));
    store->toggleWholeApp(id);
    store->toggleWholeApp(id);
    store.reset();
    pending(true);
}

struct RemovalCase {
    const char* name;
    std::vector<bool> locked;    // one per binding; all are removed together
    std::optional<bool> answer;  // the authentication answer when one is asked for
    bool removed;
};

class RemoveMissing : public StoreFixture, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(RemoveMissing, AsksOnceWhenAnyIsLockedAndRemovesAllOrNone) {
    auto store = makeStore();
    std::set<Uuid> ids;
    for (std::size_t i = 0; i < GetParam().locked.size(); ++i) {
        Uuid id = store->designate(
            {{"com.app", "App"}, static_cast<WindowNumber>(i + 1), "W" + std::to_string(i)});
        store->setLocked(GetParam().locked[i], ShortcutTarget::window(id));
        ids.insert(id);
    }
    Uuid kept = store->designate({{"com.other", "Other"}, 99, "Kept"});
    if (GetParam().answer) {
        auth.next(*GetParam().answer);
    }
    std::vector<bool> reported;
    store->removeMissing(ids, [&](bool ok) { reported.push_back(ok); });
    EXPECT_EQ(auth.reasons.size(), GetParam().answer ? 1u : 0u);
    EXPECT_EQ(reported, std::vector<bool>{GetParam().removed});
    std::size_t expected = GetParam().removed ? 1 : ids.size() + 1;
    EXPECT_EQ(store->bindings().get().size(), expected);
    EXPECT_TRUE(store->binding(kept));
}

INSTANTIATE_TEST_SUITE_P(
    Sets, RemoveMissing,
    ::testing::Values(RemovalCase{"oneOfThreeLockedAccepted", {false, true, false}, true, true},
                      RemovalCase{"oneOfThreeLockedRefused", {false, true, false}, false, false},
                      RemovalCase{"noneLocked", {false, false}, std::nullopt, true},
                      RemovalCase{"emptySet", {}, std::nullopt, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreFixture, RemovingALockedBindingAsksFirst) {
    auto store = makeStore();
    Uuid id = store->designate({{"com.bank", "Bank"}, 7, "Account"});
    store->setLocked(true, ShortcutTarget::window(id));
    std::vector<bool> reported;
    auth.next(false);
    store->requestRemoveBinding(id, [&](bool ok) { reported.push_back(ok); });
    EXPECT_TRUE(store->binding(id));
    auth.next(true);
    store->requestRemoveBinding(id, [&](bool ok) { reported.push_back(ok); });
    EXPECT_FALSE(store->binding(id));
    store->requestRemoveBinding(id, [&](bool ok) { reported.push_back(ok); });
    EXPECT_EQ(reported, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(auth.reasons, (std::vector<std::string>(
                                2, strings.text(StringKey{"auth.reason.removeLockedBinding"}))));
}

TEST_F(StoreFixture, KeepMissingAndAllowedApps) {
    auto store = makeStore();
    Uuid a = store->designate({{"com.a", "A"}, 1, "One"});
    Uuid b = store->designate({{"com.b", "B"}, 2, "Two"});
    store->keepMissing({b, Uuid{}});
    EXPECT_FALSE(store->binding(a)->keepWhenMissing);
    EXPECT_TRUE(store->binding(b)->keepWhenMissing);

    store->addAllowedApp({"com.apple.Notes", "Notes"});
    store->addAllowedApp({"com.apple.Notes", "Notes renamed"});  // same id
    store->addAllowedApp({std::nullopt, "Terminal"});
    store->addAllowedApp({std::nullopt, std::nullopt});
    ASSERT_EQ(store->allowedApps().get().size(), 3u);
    EXPECT_EQ(store->allowedApps().get()[2].name, "App");
    EXPECT_TRUE(store->isAllowed({"com.apple.Notes", "Anything"}));
    EXPECT_TRUE(store->isAllowed({std::nullopt, "Terminal"}));
    EXPECT_TRUE(store->isAllowed({"com.other", "Terminal"}))
        << "an entry without bundle matches the name, whatever the app's bundle";
    store->removeAllowedApp("com.apple.Notes");
    EXPECT_FALSE(store->isAllowed({"com.apple.Notes", "Notes"}));
}

// A tiny workspace: only the running applications' bundle identifiers matter here.
class RunningApps final : public Workspace {
  public:
    std::vector<std::string> bundles;
    std::vector<AppRef> runningApplications() override {
        std::vector<AppRef> apps;
        for (std::size_t i = 0; i < bundles.size(); ++i) {
            apps.push_back(AppRef{i + 1});
        }
        return apps;
    }
    std::optional<AppRef> frontmostApplication() override { return std::nullopt; }
    std::optional<AppRef> runningApplication(Pid) override { return std::nullopt; }
    Pid ownProcessID() override { return 1; }
    Pid processID(AppRef) override { return 0; }
    std::optional<std::string> bundleIdentifier(AppRef app) override { return bundles[app.id - 1]; }
    std::optional<std::string> localizedName(AppRef) override { return std::nullopt; }
    ActivationPolicy activationPolicy(AppRef) override { return ActivationPolicy::regular; }
    bool isTerminated(AppRef) override { return false; }
    bool isHidden(AppRef) override { return false; }
    bool hide(AppRef) override { return false; }
    bool unhide(AppRef) override { return false; }
    bool activate(AppRef) override { return false; }
    Subscription observe(WorkspaceAppEvent, std::function<void(AppRef)>) override { return {}; }
};

TEST(AppPresenceRule, TrashedDeletedAndUnknownAppsAreMissingRunningOnesNever) {
    RunningApps workspace;
    sim::SimAppPresence disk;
    disk.install("com.bank", "Bank");
    auto missing = [&](std::optional<std::string> bundle) {
        return AppPresence::isMissing(bundle, workspace, disk);
    };
    EXPECT_FALSE(missing("com.bank"));
    EXPECT_FALSE(missing(std::nullopt));
    EXPECT_FALSE(missing(""));
    EXPECT_TRUE(missing("com.unknown"));

    disk.trash("com.bank");
    EXPECT_TRUE(disk.fileExists("/Users/user/.Trash/Bank.app")) << "still on disk";
    EXPECT_TRUE(missing("com.bank"));
    workspace.bundles = {"com.bank"};
    EXPECT_FALSE(missing("com.bank")) << "a running application is present wherever it lives";
    workspace.bundles.clear();

    disk.installAt("com.vol", "/Volumes/USB/.Trashes/501/Tool.app");
    EXPECT_TRUE(missing("com.vol"));
    disk.install("com.gone", "Gone");
    disk.deleteFiles("com.gone");
    EXPECT_TRUE(missing("com.gone"));
    disk.install("com.err", "Err");
    disk.setFailing(true);
    EXPECT_TRUE(missing("com.err")) << "a file-system error counts as a missing file";
}

}  // namespace
}  // namespace nimbrel::test
