// The program on an X server, measured against the bare requests that do the same work. Run on a
// virtual display: tests/platform/x11/with-x-server.sh build/default/bench/x11_program_bench
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>
#include <xcb/xcb_aux.h>
#include <xcb/xtest.h>

#include <nlohmann/json.hpp>

#include <fstream>

#include "../tests/platform/x11/PrivateFolder.h"
#include "../tests/platform/x11/display/TestClient.h"
#include "../tests/platform/x11/program/RunningProgram.h"
#include "platform/x11/ClientWindows.h"
#include "platform/x11/VirtualKeys.h"
#include "platform/x11/X11Screens.h"

namespace nimbrel::test {
namespace {

constexpr std::uint32_t kW = 13;  // the key right of Q

struct Desk {
    TestClient client;
    x11::ClientWindows windows{client.connection()};
    x11::X11Screens screens{client.connection()};

    xcb_window_t open(const std::string& title, Rect area) {
        TestClient::Window wanted;
        wanted.title = title;
        wanted.area = area;
        xcb_window_t w = client.open(wanted);
        managed(client.connection(), w);
        return w;
    }
    bool parked(xcb_window_t w) {
        auto window = windows.read(w);
        return window && !screens.layout().showsOnAnyMonitor(window->frame);
    }
    // Polls finely: the tests' ten-millisecond step would round every measurement up to it.
    void waitUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 50000; ++i) {
            xcb_aux_sync(client.connection().get());
            if (done()) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
    // Control+Super+W pressed and released through the server's test extension, held for `hold`.
    void tapShortcut(std::chrono::milliseconds hold = std::chrono::milliseconds(0)) {
        xcb_connection_t* c = client.connection().get();
        // Left Control and left Super, as evdev numbers them (the server's default keymap).
        const xcb_keycode_t control = 37;
        const xcb_keycode_t super = 133;
        const xcb_keycode_t w = *x11::keycodeFor(kW);
        for (xcb_keycode_t key : {control, super, w}) {
            xcb_test_fake_input(c, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        }
        xcb_aux_sync(c);
        std::this_thread::sleep_for(hold);
        for (xcb_keycode_t key : {w, super, control}) {
            xcb_test_fake_input(c, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        }
        xcb_aux_sync(c);
    }
};

Desk& desk() {
    static Desk made;
    return made;
}

// From the shortcut's release to the window beyond the monitors, off the taskbar.
void BM_ShortcutToParked(benchmark::State& state) {
    Desk& d = desk();
    xcb_window_t other = d.open("Other", Rect(700, 100, 300, 200));
    xcb_window_t w = d.open("Parked by the program", Rect(100, 100, 400, 300));
    PrivateFolder home;
    RunningProgram program(home / "home");
    if (!program.start()) {
        state.SkipWithError("the program did not start");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (d.parked(w)) {
            // Brought back by the program itself, which then knows the window is in sight.
            d.tapShortcut(std::chrono::milliseconds(1300));
            d.waitUntil([&] { return !d.parked(w); });
        }
        d.windows.activate(w);
        d.waitUntil([&] { return d.windows.active() == w; });
        // The program answers the activation too; the shortcut comes to a program at rest, as
        // a user's hand would.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        state.ResumeTiming();
        d.tapShortcut();
        d.waitUntil([&] { return d.parked(w); });
    }
    d.client.close(w);
    d.client.close(other);
}

// The same park as bare requests: the skip marks, the focus given to the other window and the
// window manager's move, then the wait.
void BM_BareRequestsToParked(benchmark::State& state) {
    Desk& d = desk();
    xcb_window_t other = d.open("Other", Rect(700, 100, 300, 200));
    xcb_window_t w = d.open("Parked by hand", Rect(100, 100, 400, 300));
    auto frame = d.windows.read(w)->frame;
    auto root = d.screens.layout();
    for (auto _ : state) {
        state.PauseTiming();
        d.windows.moveFrame(*d.windows.read(w), frame.origin());
        d.windows.activate(w);
        d.waitUntil([&] { return !d.parked(w) && d.windows.active() == w; });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        state.ResumeTiming();
        auto window = d.windows.read(w);
        d.windows.setState(w, "_NET_WM_STATE_SKIP_TASKBAR", true);
        d.windows.setState(w, "_NET_WM_STATE_SKIP_PAGER", true);
        d.windows.activate(other);
        d.windows.moveFrame(*window, Point{5000, 5000});
        d.waitUntil([&] { return d.parked(w); });
    }
    d.client.close(w);
    d.client.close(other);
}

// From the process's start to its shortcuts registered.
void BM_StartToShortcutsRegistered(benchmark::State& state) {
    for (auto _ : state) {
        PrivateFolder home;
        RunningProgram program(home / "home");
        if (!program.start()) {
            state.SkipWithError("the program did not start");
            return;
        }
        state.PauseTiming();
        program.kill();
        state.ResumeTiming();
    }
}

long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(all.substr(all.rfind(')') + 2));
    std::string field;
    long utime = 0;
    long stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) {
            utime = std::stol(field);
        } else if (i == 15) {
            stime = std::stol(field);
        }
    }
    return utime + stime;
}

// The program's share of one core while nothing happens, with ten designated windows on screen.
void BM_IdleWithTenBoundWindows(benchmark::State& state) {
    Desk& d = desk();
    nlohmann::json bindings = nlohmann::json::array();
    std::vector<xcb_window_t> opened;
    for (int i = 0; i < 10; ++i) {
        std::string title = "Bound " + std::to_string(i);
        opened.push_back(d.open(title, Rect(20 + 90 * i, 40 + 30 * i, 300, 200)));
        char id[37];
        std::snprintf(id, sizeof id, "00000000-0000-0000-0000-%012d", i + 1);
        bindings.push_back({{"id", id},
                            {"bundleID", "Editor"},
                            {"appName", "Editor"},
                            {"title", title},
                            {"locked", false},
                            {"wholeApp", false},
                            {"keepWhenMissing", true}});
    }
    PrivateFolder home;
    RunningProgram program(home / "home");
    nlohmann::json settings = {{"bindings", bindings}};
    program.writeDefaults(nlohmann::json{{"settings.v1", {{"text", settings.dump()}}}}.dump());
    if (!program.start()) {
        state.SkipWithError("the program did not start");
        return;
    }
    double seconds = static_cast<double>(state.range(0));
    for (auto _ : state) {
        long before = cpuTicks(program.pid());
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        long after = cpuTicks(program.pid());
        double used =
            static_cast<double>(after - before) / static_cast<double>(sysconf(_SC_CLK_TCK));
        state.counters["cpu_percent"] = 100.0 * used / seconds;
    }
    for (xcb_window_t w : opened) {
        d.client.close(w);
    }
}

BENCHMARK(BM_ShortcutToParked)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_BareRequestsToParked)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_StartToShortcutsRegistered)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK(BM_IdleWithTenBoundWindows)
    ->Arg(60)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
}  // namespace nimbrel::test

BENCHMARK_MAIN();
