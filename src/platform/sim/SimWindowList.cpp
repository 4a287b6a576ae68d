#include "platform/sim/SimWindowList.h"

namespace nimbrel::sim {

std::vector<WindowInfo> SimWindowList::onScreenWindows() {
    std::vector<WindowInfo> result;
    for (ElementRef e : world_.stack()) {
        const SimWindow& w = *world_.window(e);
        if (!world_.isVisible(w)) {
            continue;
        }
        bool shows = false;
        for (const Rect& screen : world_.screenRects()) {
            shows = shows || !screen.intersection(w.frame).isEmpty();
        }
        if (!shows) {
            continue;
        }
        result.push_back(WindowInfo{w.pid, w.number, 0, w.frame, world_.app(w.app)->name, w.title});
    }
    return result;
}

}  // namespace nimbrel::sim
