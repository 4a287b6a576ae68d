#include "platform/x11/TaskbarMarks.h"

namespace nimbrel::x11 {
namespace {

constexpr const char* kSaved = "_NIMBREL_SAVED_SKIP_STATES";
constexpr const char* kSkipTaskbar = "_NET_WM_STATE_SKIP_TASKBAR";
constexpr const char* kSkipPager = "_NET_WM_STATE_SKIP_PAGER";
constexpr std::uint32_t kTaskbarBit = 1;
constexpr std::uint32_t kPagerBit = 2;

}  // namespace

void TaskbarMarks::beforeMove(const ClientWindow& window, bool parking) {
    xcb_atom_t saved = connection_.atom(kSaved);
    auto stored = connection_.cardinals(window.id, saved, XCB_ATOM_CARDINAL);
    if (parking) {
        if (!stored.empty()) {
            // Parked already: what it had before the first park is what comes back.
            return;
        }
        std::uint32_t had = (window.hasState(kSkipTaskbar) ? kTaskbarBit : 0) |
                            (window.hasState(kSkipPager) ? kPagerBit : 0);
        xcb_change_property(connection_.get(), XCB_PROP_MODE_REPLACE, window.id, saved,
                            XCB_ATOM_CARDINAL, 32, 1, &had);
        windows_.setState(window.id, kSkipTaskbar, true);
        windows_.setState(window.id, kSkipPager, true);
        return;
    }
    if (stored.empty()) {
        return;
    }
    windows_.setState(window.id, kSkipTaskbar, (stored.front() & kTaskbarBit) != 0);
    windows_.setState(window.id, kSkipPager, (stored.front() & kPagerBit) != 0);
    xcb_delete_property(connection_.get(), window.id, saved);
    connection_.flush();
}

void TaskbarMarks::restoreInSight(const MonitorLayout& layout) {
    xcb_atom_t saved = connection_.atom(kSaved);
    for (xcb_window_t id : windows_.list()) {
        if (connection_.cardinals(id, saved, XCB_ATOM_CARDINAL).empty()) {
            continue;
        }
        auto window = windows_.read(id);
        if (window && !window->iconic && layout.showsOnAnyMonitor(window->frame)) {
            beforeMove(*window, false);
        }
    }
}

}  // namespace nimbrel::x11
