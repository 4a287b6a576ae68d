// One periodic tick of the automatic hiding triggers on the simulated desktop, in the steady state
// of a busy desktop: every trigger on, nobody away, nothing shared, and the keywords finding only
// windows already bound. The screen-sharing and keyword steps read every window's title, so the
// cost should grow in step with the number of windows.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AutoHideTriggers.h"
#include "app/BindingLookup.h"
#include "app/screenshare/ScreenShareDetector.h"
#include "engine/WindowMinimizer.h"
#include "platform/Localizer.h"
#include "platform/sim/SimDesktop.h"
#include "settings/SettingsStore.h"

namespace {

using namespace nimbrel;

constexpr int kBindings = 20;

// The shell's trigger classes over a desktop of `apps` applications with ten windows each; the
// first window of each of the first twenty applications is bound, and only those hold a keyword.
struct BusyDesktop {
    BusyDesktop(int apps, int windowsPerApp) {
        desk.addScreen("main", {0, 0, 1440, 900});
        for (int a = 0; a < apps; ++a) {
            Pid pid = 1000 + a;
            desk.launchApp(pid, "App " + std::to_string(a), "com.example.app" + std::to_string(a));
            for (int w = 0; w < windowsPerApp; ++w) {
                std::string title = w == 0 && a < kBindings ? "Account " : "Document ";
                ElementRef opened;
                desk.openWindow(pid,
                                sim::SimWindowSpec(title + std::to_string(a * 100 + w),
                                                   {double(20 * w), double(10 * a), 600, 400}),
                                &opened);
                if (w == 0 && a < kBindings) {
                    bound.push_back(opened);
                }
            }
        }
        desk.runDue();
        SettingsStore::Services services{desk.defaults(), strings, desk.sound(), desk.keyMonitor(),
                                         desk.keyboardLayout()};
        store = std::make_unique<SettingsStore>(std::move(services));
        engine = std::make_unique<WindowMinimizer>(
            EngineServices{desk.accessibility(), desk.workspace(), desk.screens(),
                           desk.eventSource(), desk.loop(), strings});
        lookup = std::make_unique<BindingLookup>(*store, *engine, desk.workspace());
        screenShare = std::make_unique<ScreenShareDetector>(desk.accessibility(), desk.workspace());
        triggers = std::make_unique<AutoHideTriggers>(AutoHideTriggers::Services{
            *store, *engine, *lookup, *screenShare, desk.accessibility(), desk.screens(),
            desk.eventSource(), desk.notifications(), desk.sound(), desk.log(), desk.loop()});

        for (ElementRef element : bound) {
            const sim::SimWindow* state = desk.windowState(element);
            WindowRef window{element, state->app, state->title};
            engine->designate(element, store->designate(lookup->liveWindow(window)));
        }
        store->set(setting::idleMinutes, 5);
        store->set(setting::relockMinutes, 10);
        store->set(setting::autoHideOnScreenShare, true);
        store->set(setting::keywords, {"account", "invoice"});
    }

    sim::SimDesktop desk;
    Localizer strings{nullptr};
    std::vector<ElementRef> bound;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<WindowMinimizer> engine;
    std::unique_ptr<BindingLookup> lookup;
    std::unique_ptr<ScreenShareDetector> screenShare;
    std::unique_ptr<AutoHideTriggers> triggers;
};

void BM_AutoHideTick(benchmark::State& state) {
    int apps = static_cast<int>(state.range(0));
    int windowsPerApp = static_cast<int>(state.range(1));
    BusyDesktop desktop(apps, windowsPerApp);
    std::size_t bindings = desktop.store->bindings().get().size();
    for (auto _ : state) {
        desktop.triggers->autoHideTick();
    }
    if (desktop.store->bindings().get().size() != bindings) {
        state.SkipWithError("a tick changed the bindings");
    }
    state.counters["windows"] = double(apps * windowsPerApp);
    state.counters["bindings"] = double(bindings);
    state.SetComplexityN(apps * windowsPerApp);
}
BENCHMARK(BM_AutoHideTick)
    ->Args({50, 10})
    ->Args({50, 20})
    ->Args({100, 10})
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
