// Seeded runs of random hides and reveals through the real program, each ended by SIGKILL at a
// random moment, then a new start: whatever the killed process left parked is adopted, and
// revealing brings every window back in sight and onto the taskbar. NIMBREL_SOAK_RUNS sets the
// number of runs (a few under ctest), NIMBREL_SOAK_SEED replays one.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <random>

#include "../PrivateFolder.h"
#include "../display/TestClient.h"
#include "RunningProgram.h"
#include "platform/x11/ClientWindows.h"
#include "platform/x11/X11Screens.h"

namespace nimbrel::test {
namespace {

using namespace std::chrono_literals;

int soakRuns() {
    const char* runs = std::getenv("NIMBREL_SOAK_RUNS");
    return runs != nullptr ? std::max(1, std::atoi(runs)) : 3;
}

class Soak {
  public:
    explicit Soak(unsigned seed) : random_(seed) {}

    void run() {
        if (windowManagerClamps()) {
            GTEST_SKIP() << "this window manager keeps every frame on screen";
        }
        ASSERT_TRUE(client_.connected());
        const char* titles[] = {"Mail", "Chat", "Bank", "Diary"};
        for (int i = 0; i < 4; ++i) {
            TestClient::Window wanted;
            wanted.title = titles[i];
            wanted.area = Rect(40 + 300 * i, 60 + 40 * i, 280, 220);
            xcb_window_t w = client_.open(wanted);
            ASSERT_TRUE(managed(client_.connection(), w));
            windows_.push_back(w);
        }
        ASSERT_TRUE(program_.start()) << program_.log();
        int steps = pick(4, 10);
        for (int step = 0; step < steps; ++step) {
            if (pick(0, 2) < 2) {
                clients_.activate(windows_[static_cast<std::size_t>(pick(0, 3))]);
                std::this_thread::sleep_for(std::chrono::milliseconds(pick(20, 120)));
                typeKeys("ctrl+super+w");
            } else {
                holdKeys("ctrl+super+w", 1300ms);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(pick(0, 250)));
        }
        program_.kill();

        int parked = 0;
        for (xcb_window_t w : windows_) {
            parked += outOfSight(w) ? 1 : 0;
        }
        ASSERT_TRUE(program_.start()) << program_.log();
        if (parked > 0) {
            EXPECT_TRUE(program_.waitForLog("adopted " + std::to_string(parked) + " parked"))
                << program_.log();
        }
        for (int i = 0; i < parked; ++i) {
            holdKeys("ctrl+super+w", 1300ms);
        }
        for (xcb_window_t w : windows_) {
            EXPECT_TRUE(eventually(client_.connection(), [&] { return inSightOnTaskbar(w); }))
                << "window " << w << "\n"
                << program_.log();
        }
    }

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    bool outOfSight(xcb_window_t w) {
        auto window = clients_.read(w);
        return window && !screens_.layout().showsOnAnyMonitor(window->frame);
    }
    bool inSightOnTaskbar(xcb_window_t w) {
        auto window = clients_.read(w);
        return window && !window->iconic && screens_.layout().showsOnAnyMonitor(window->frame) &&
               !window->hasState("_NET_WM_STATE_SKIP_TASKBAR") &&
               !window->hasState("_NET_WM_STATE_SKIP_PAGER");
    }

    std::mt19937 random_;
    TestClient client_;
    x11::ClientWindows clients_{client_.connection()};
    x11::X11Screens screens_{client_.connection()};
    std::vector<xcb_window_t> windows_;
    PrivateFolder home_;
    RunningProgram program_{home_ / "home"};
};

TEST(ProgramSoakTest, AKilledProcessLeavesNothingThatTheNextStartCannotBringBack) {
    std::vector<unsigned> seeds;
    if (const char* seed = std::getenv("NIMBREL_SOAK_SEED")) {
        seeds.push_back(static_cast<unsigned>(std::strtoul(seed, nullptr, 10)));
    } else {
        for (int run = 0; run < soakRuns(); ++run) {
            seeds.push_back(std::random_device{}());
        }
    }
    for (unsigned seed : seeds) {
        SCOPED_TRACE("NIMBREL_SOAK_SEED=" + std::to_string(seed));
        Soak(seed).run();
        if (HasFatalFailure() || IsSkipped()) {
            return;
        }
    }
}

}  // namespace
}  // namespace nimbrel::test
