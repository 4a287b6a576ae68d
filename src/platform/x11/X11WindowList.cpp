#include "platform/x11/X11WindowList.h"

#include <algorithm>

namespace nimbrel::x11 {
namespace {

// The layers the program tells apart: ordinary windows, and what the desktop keeps above them.
constexpr int kNormalLayer = 0;
constexpr int kDesktopLayer = 25;

int layerOf(const std::string& type) {
    static const std::string kAbove[] = {"_NET_WM_WINDOW_TYPE_DOCK", "_NET_WM_WINDOW_TYPE_DESKTOP",
                                         "_NET_WM_WINDOW_TYPE_NOTIFICATION",
                                         "_NET_WM_WINDOW_TYPE_SPLASH"};
    return std::find(std::begin(kAbove), std::end(kAbove), type) != std::end(kAbove) ? kDesktopLayer
                                                                                     : kNormalLayer;
}

}  // namespace

std::vector<WindowInfo> X11WindowList::onScreenWindows() {
    MonitorLayout layout = screens_.layout();
    std::vector<WindowInfo> listed;
    auto stack = windows_.read(windows_.stacking());
    for (auto window = stack.rbegin(); window != stack.rend(); ++window) {
        if (window->iconic) {
            continue;
        }
        WindowInfo info;
        info.ownerPID = window->pid;
        info.number = window->id;
        info.layer = layerOf(window->type);
        info.bounds = layout.toAccessibility(window->frame);
        info.name = window->title;
        if (auto app = workspace_.runningApplication(window->pid)) {
            info.ownerName = workspace_.localizedName(*app).value_or("");
        }
        listed.push_back(std::move(info));
    }
    return listed;
}

}  // namespace nimbrel::x11
