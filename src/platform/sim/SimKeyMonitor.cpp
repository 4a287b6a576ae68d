#include "platform/sim/SimKeyMonitor.h"

#include <vector>

namespace nimbrel::sim {

SimKeyMonitor::SimKeyMonitor() : monitors_(std::make_shared<std::map<std::uint64_t, Handler>>()) {}

SimKeyMonitor::~SimKeyMonitor() {
    monitors_->clear();
}

Subscription SimKeyMonitor::addLocalKeyDownMonitor(Handler handler) {
    std::uint64_t id = next_++;
    monitors_->emplace(id, std::move(handler));
    std::weak_ptr<std::map<std::uint64_t, Handler>> weak = monitors_;
    return Subscription([weak, id] {
        if (auto monitors = weak.lock()) {
            monitors->erase(id);
        }
    });
}

bool SimKeyMonitor::deliverKeyDown(const KeyEvent& event) {
    // A monitor may remove itself (or another) while it runs.
    std::vector<std::uint64_t> ids;
    for (const auto& entry : *monitors_) {
        ids.push_back(entry.first);
    }
    auto keep = monitors_;
    for (auto id : ids) {
        auto it = keep->find(id);
        if (it == keep->end()) {
            continue;
        }
        Handler handler = it->second;
        if (handler(event)) {
            return true;
        }
    }
    return false;
}

}  // namespace nimbrel::sim
