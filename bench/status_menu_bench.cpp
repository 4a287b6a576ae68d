// One opening of the status menu on a busy desktop: N bindings (every tenth one of an application
// that is not running, a few of their windows hidden), N entries in the attempts log and N windows
// to designate, with every submenu opened as the user would hover over it. Two sizes show how the
// build grows.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/ProgramEntry.h"
#include "platform/Localizer.h"
#include "platform/sim/SimDesktop.h"

namespace {

using namespace nimbrel;

constexpr int kWindowsPerApp = 10;

// Every item's submenu, built as it opens; answers how many items were built in all.
std::size_t openAll(const Menu& menu) {
    std::size_t count = menu.items.size();
    for (const auto& item : menu.items) {
        if (item.submenu) {
            count += openAll(item.submenu());
        }
    }
    return count;
}

std::string attemptsLog(int entries) {
    std::string json = "[";
    for (int i = 0; i < entries; ++i) {
        json += (i ? "," : "") + std::string("{\"date\":") + std::to_string(i * 60) +
                ",\"label\":\"App — Window " + std::to_string(i) + "\",\"reason\":\"authFailed\"}";
    }
    return json + "]";
}

void BM_StatusMenuBuild(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    sim::SimDesktop desktop;
    desktop.addScreen("main", {0, 0, 1920, 1080});
    desktop.defaults().setData("attempts.v1", attemptsLog(n));
    Localizer strings(nullptr);
    desktop.programStarted();
    Platform platform = desktop.platform(strings);
    std::unique_ptr<AppDelegate> program = launchProgram(platform);
    desktop.runDue();

    std::vector<ElementRef> windows;
    for (int i = 0; i < n; ++i) {
        Pid pid = 1000 + i / kWindowsPerApp;
        std::string app = "App " + std::to_string(pid);
        std::string bundle = "com.example.app" + std::to_string(pid);
        if (i % kWindowsPerApp == 0) {
            desktop.launchApp(pid, app, bundle);
        }
        ElementRef window;
        desktop.openWindow(
            pid,
            sim::SimWindowSpec("Window " + std::to_string(i), {double(i % 50) * 10, 40, 400, 300}),
            &window);
        windows.push_back(window);
        const sim::SimWindow* state = desktop.windowState(window);
        program->store().designate(LiveWindow{LiveApp{bundle, app}, state->number, state->title});
    }
    // Bindings of applications that have quit, and a few hidden windows.
    for (int i = 0; i < n / kWindowsPerApp; ++i) {
        program->store().designate(LiveWindow{
            LiveApp{"com.example.gone" + std::to_string(i), "Gone"}, std::nullopt, "Old"});
    }
    desktop.activateApp(1000);
    for (int i = 0; i < n; i += kWindowsPerApp) {
        const sim::SimWindow* state = desktop.windowState(windows[i]);
        program->minimizer().hide(WindowRef{windows[i], state->app, state->title}, Guard::unlocked,
                                  HideStyle::outOfSight);
    }
    desktop.runDue();

    std::size_t items = 0;
    for (auto _ : state) {
        auto menu = desktop.statusBar().openMenu();
        items = openAll(*menu);
        benchmark::DoNotOptimize(items);
    }
    state.counters["items"] = static_cast<double>(items);
    program.reset();
    desktop.programEnded();
}
BENCHMARK(BM_StatusMenuBuild)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
