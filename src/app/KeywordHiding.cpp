#include "app/KeywordHiding.h"

#include <algorithm>
#include <vector>

namespace nimbrel {

void KeywordHiding::tick() {
    const auto& keywords = services_.store.keywords().get();
    WindowAccess& access = services_.minimizer.access();
    if (keywords.empty() || !access.isTrusted()) {
        return;
    }
    std::vector<CaselessText> prepared;
    prepared.reserve(keywords.size());
    for (const auto& keyword : keywords) {
        prepared.emplace_back(keyword, services_.folding);
    }
    for (const WindowRef& window : access.allWindows()) {
        if (window.title.empty()) {
            continue;
        }
        CaselessText title(window.title, services_.folding);
        if (std::any_of(prepared.begin(), prepared.end(),
                        [&](const CaselessText& keyword) { return title.contains(keyword); })) {
            bindAndHide(window);
        }
    }
}

void KeywordHiding::bindAndHide(const WindowRef& window) {
    SettingsStore& store = services_.store;
    if (!store.addLockedBinding(services_.lookup.liveWindow(window))) {
        return;
    }
    // The new binding is the last one; remembering its element finds the window again after its
    // title changes, as for a window the user designated.
    services_.minimizer.designate(window.element, store.bindings().get().back().id);
    services_.minimizer.hide(window, Guard::locked,
                             store.useCover().get() ? HideStyle::cover : HideStyle::outOfSight);
}

}  // namespace nimbrel
