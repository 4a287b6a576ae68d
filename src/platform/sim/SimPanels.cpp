#include "platform/sim/SimPanels.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

namespace nimbrel::sim {

// The simulated desktop stacks panels by the window levels of the desktop it models; the console
// prints these numbers.
int levelNumber(PanelLevel level) {
    switch (level) {
        case PanelLevel::normal:
            return 0;
        case PanelLevel::statusBar:
            return 25;
        case PanelLevel::screenSaver:
            return 1000;
    }
    return 0;
}

namespace {

// Shortest form, to a thousandth: an alpha caught in the middle of a fade prints as 0.667.
std::string number(double value) {
    double rounded = std::round(value * 1000) / 1000;
    if (rounded == 0) {
        rounded = 0;  // no "-0"
    }
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded);
    return std::string(buffer, result.ptr);
}

}  // namespace

class SimPanels::Registry {
  public:
    struct Animation {
        std::uint64_t serial = 0;
        double from = 1;
        double to = 1;
        TimePoint start = 0;
        double duration = 0;
    };
    struct Record {
        SimPanelState state;
        std::uint64_t orderSerial = 0;
        std::optional<Animation> animation;
        std::vector<TimerId> completions;
        std::function<void(PanelMouseAction, Point)> mouse;
        std::function<bool(std::uint16_t)> key;
    };

    Registry(SimMainLoop& loop, SimEventLog& events, std::function<double()> primaryScreenHeight)
        : loop(loop), events(events), primaryScreenHeight(std::move(primaryScreenHeight)) {}

    Record* find(std::uint64_t id) {
        auto it = records.find(id);
        return it == records.end() ? nullptr : &it->second;
    }

    double currentAlpha(const Record& record) const {
        if (!record.animation) {
            return record.state.alpha;
        }
        const Animation& a = *record.animation;
        double progress = std::clamp((loop.now() - a.start) / a.duration, 0.0, 1.0);
        return a.from + (a.to - a.from) * progress;
    }

    // Freezes a running animation at its current value.
    void stopAnimation(Record& record) {
        record.state.alpha = currentAlpha(record);
        record.animation.reset();
    }

    void forget(std::uint64_t id) {
        if (Record* record = find(id)) {
            for (TimerId timer : record->completions) {
                loop.cancelTimer(timer);
            }
            records.erase(id);
        }
        if (captured == id) {
            captured.reset();
        }
    }

    void forgetAll() {
        while (!records.empty()) {
            forget(records.begin()->first);
        }
    }

    double height() const { return primaryScreenHeight ? primaryScreenHeight() : 0; }

    SimPanelState snapshot(const Record& record) const {
        SimPanelState state = record.state;
        state.alpha = currentAlpha(record);
        return state;
    }

    std::vector<const Record*> frontToBack() const {
        std::vector<const Record*> visible;
        for (const auto& [id, record] : records) {
            if (record.state.visible) {
                visible.push_back(&record);
            }
        }
        std::sort(visible.begin(), visible.end(), [](const Record* a, const Record* b) {
            int levelA = levelNumber(a->state.description.level);
            int levelB = levelNumber(b->state.description.level);
            if (levelA != levelB) {
                return levelA > levelB;
            }
            return a->orderSerial > b->orderSerial;
        });
        return visible;
    }

    Point toScreen(Point accessibilityPoint) const { return flipped(accessibilityPoint, height()); }

    SimMainLoop& loop;
    SimEventLog& events;
    std::function<double()> primaryScreenHeight;
    std::function<bool(WindowNumber)> windowExists;
    std::map<std::uint64_t, Record> records;
    std::uint64_t nextID = 1;
    std::uint64_t nextSerial = 1;
    bool refuses = false;
    std::optional<std::uint64_t> captured;  // the panel that took the last press
};

class SimPanels::SimPanel final : public Panel {
  public:
    SimPanel(std::weak_ptr<Registry> registry, std::uint64_t id)
        : registry_(std::move(registry)), id_(id) {}
    ~SimPanel() override {
        if (auto registry = registry_.lock()) {
            registry->forget(id_);
        }
    }

    void setContent(PanelContent content) override {
        with([&](Registry&, Registry::Record& r) { r.state.content = std::move(content); });
    }
    void setFrame(const Rect& frame, bool) override {
        with([&](Registry&, Registry::Record& r) { r.state.frame = frame; });
    }
    Rect frame() override {
        Rect frame;
        with([&](Registry&, Registry::Record& r) { frame = r.state.frame; });
        return frame;
    }
    void setAlpha(double alpha) override {
        with([&](Registry& registry, Registry::Record& r) {
            registry.stopAnimation(r);
            r.state.alpha = std::clamp(alpha, 0.0, 1.0);
        });
    }
    double alpha() override {
        double alpha = 0;
        with([&](Registry& registry, Registry::Record& r) { alpha = registry.currentAlpha(r); });
        return alpha;
    }
    void animateAlpha(double alpha, double seconds, std::function<void()> completion) override;

    void orderFrontRegardless() override {
        with([&](Registry& registry, Registry::Record& r) {
            r.state.visible = true;
            r.state.above.reset();
            r.orderSerial = registry.nextSerial++;
            if (const auto* notice = std::get_if<NoticeContent>(&r.state.content)) {
                registry.events.emit("notice " + notice->title.text + " | " + notice->detail.text);
            }
        });
    }
    bool orderAbove(WindowNumber window) override {
        bool ordered = false;
        with([&](Registry& registry, Registry::Record& r) {
            bool exists = registry.windowExists ? registry.windowExists(window) : window != 0;
            if (!exists) {
                return;
            }
            r.state.visible = true;
            r.state.above = window;
            r.orderSerial = registry.nextSerial++;
            ordered = true;
        });
        return ordered;
    }
    void orderOut() override {
        with([&](Registry& registry, Registry::Record& r) {
            r.state.visible = false;
            r.state.isKey = false;
            r.state.above.reset();
            if (registry.captured == id_) {
                registry.captured.reset();
            }
        });
    }
    bool isVisible() override {
        bool visible = false;
        with([&](Registry&, Registry::Record& r) { visible = r.state.visible; });
        return visible;
    }
    void makeKeyAndOrderFront() override {
        with([&](Registry& registry, Registry::Record& r) {
            if (r.state.description.takesFocus) {
                for (auto& [id, other] : registry.records) {
                    other.state.isKey = false;
                }
                r.state.isKey = true;
            }
            r.state.visible = true;
            r.state.above.reset();
            r.orderSerial = registry.nextSerial++;
        });
    }
    void setMouseHandler(std::function<void(PanelMouseAction, Point)> handler) override {
        with([&](Registry&, Registry::Record& r) { r.mouse = std::move(handler); });
    }
    void setKeyHandler(std::function<bool(std::uint16_t)> handler) override {
        with([&](Registry&, Registry::Record& r) { r.key = std::move(handler); });
    }

  private:
    // Runs the change while the panel still exists on the desktop; a panel whose desktop or
    // process is gone does nothing.
    template <typename Change>
    void with(Change change) {
        auto registry = registry_.lock();
        if (!registry) {
            return;
        }
        if (Registry::Record* record = registry->find(id_)) {
            change(*registry, *record);
        }
    }

    std::weak_ptr<Registry> registry_;
    std::uint64_t id_;
};

void SimPanels::SimPanel::animateAlpha(double alpha, double seconds,
                                       std::function<void()> completion) {
    auto registry = registry_.lock();
    Registry::Record* record = registry ? registry->find(id_) : nullptr;
    if (!record) {
        return;
    }
    alpha = std::clamp(alpha, 0.0, 1.0);
    registry->stopAnimation(*record);
    const std::uint64_t serial = registry->nextSerial++;
    // The completion sets the final value only when this animation is still the one running.
    auto finish = [weak = registry_, id = id_, serial, alpha](std::optional<TimerId> timer) {
        auto registry = weak.lock();
        Registry::Record* record = registry ? registry->find(id) : nullptr;
        if (!record) {
            return false;
        }
        if (timer) {
            std::erase(record->completions, *timer);
        }
        if (record->animation && record->animation->serial == serial) {
            record->animation.reset();
            record->state.alpha = alpha;
        }
        return true;
    };
    if (seconds <= 0) {
        record->state.alpha = alpha;
        registry->loop.post([finish, completion = std::move(completion)] {
            if (finish(std::nullopt) && completion) {
                completion();
            }
        });
        return;
    }
    record->animation =
        Registry::Animation{serial, record->state.alpha, alpha, registry->loop.now(), seconds};
    auto timer = std::make_shared<TimerId>(0);
    *timer = registry->loop.startTimer(seconds, false,
                                       [finish, timer, completion = std::move(completion)] {
                                           if (finish(*timer) && completion) {
                                               completion();
                                           }
                                       });
    record->completions.push_back(*timer);
}

SimPanels::SimPanels(SimMainLoop& loop, SimEventLog& events,
                     std::function<double()> primaryScreenHeight)
    : registry_(std::make_shared<Registry>(loop, events, std::move(primaryScreenHeight))) {}

SimPanels::~SimPanels() {
    registry_->forgetAll();
}

std::unique_ptr<Panel> SimPanels::makePanel(const PanelSpec& description) {
    if (registry_->refuses) {
        return nullptr;
    }
    std::uint64_t id = registry_->nextID++;
    Registry::Record record;
    record.state.id = id;
    record.state.description = description;
    registry_->records.emplace(id, std::move(record));
    return std::make_unique<SimPanel>(registry_, id);
}

void SimPanels::setRefusesPanels(bool refuses) {
    registry_->refuses = refuses;
}

void SimPanels::setWindowLookup(std::function<bool(WindowNumber)> exists) {
    registry_->windowExists = std::move(exists);
}

void SimPanels::discardAll() {
    registry_->forgetAll();
}

std::size_t SimPanels::panelCount() const {
    return registry_->records.size();
}

std::vector<SimPanelState> SimPanels::visiblePanels() const {
    std::vector<SimPanelState> panels;
    for (const auto* record : registry_->frontToBack()) {
        panels.push_back(registry_->snapshot(*record));
    }
    return panels;
}

std::optional<SimPanelState> SimPanels::firstVisible(PanelKind kind) const {
    for (const auto* record : registry_->frontToBack()) {
        if (record->state.description.kind == kind) {
            return registry_->snapshot(*record);
        }
    }
    return std::nullopt;
}

std::string SimPanels::kindName(PanelKind kind) {
    switch (kind) {
        case PanelKind::hud:
            return "hud";
        case PanelKind::cover:
            return "cover";
        case PanelKind::flash:
            return "flash";
        case PanelKind::border:
            return "border";
        case PanelKind::region:
            return "region";
        case PanelKind::selection:
            return "selection";
    }
    return "panel";
}

Rect SimPanels::accessibilityFrame(const SimPanelState& panel) const {
    return flipped(panel.frame, registry_->height());
}

std::string SimPanels::describe(const SimPanelState& panel) const {
    Rect f = accessibilityFrame(panel);
    std::string line = "panel " + kindName(panel.description.kind) + " frame=" + number(f.x) + "," +
                       number(f.y) + "," + number(f.width) + "," + number(f.height) +
                       " level=" + std::to_string(levelNumber(panel.description.level)) +
                       " alpha=" + number(panel.alpha);
    if (panel.above) {
        line += " above=" + std::to_string(*panel.above);
    }
    return line;
}

std::vector<std::string> SimPanels::describeVisible() const {
    std::vector<std::string> lines;
    for (const auto& panel : visiblePanels()) {
        lines.push_back(describe(panel));
    }
    return lines;
}

std::optional<SimPanelState> SimPanels::panelAt(Point accessibilityPoint) const {
    Point p = registry_->toScreen(accessibilityPoint);
    for (const auto* record : registry_->frontToBack()) {
        if (record->state.frame.containsInScreenSpace(p)) {
            return registry_->snapshot(*record);
        }
    }
    return std::nullopt;
}

bool SimPanels::pointerEvent(PanelMouseAction action, Point accessibilityPoint) {
    Registry& registry = *registry_;
    Point p = registry.toScreen(accessibilityPoint);
    std::optional<std::uint64_t> target;
    if (action == PanelMouseAction::down) {
        registry.captured.reset();
        // A panel that ignores the mouse, or that cannot be seen, is not there for the pointer.
        for (const auto* record : registry.frontToBack()) {
            if (!record->state.description.passesClicks && registry.currentAlpha(*record) > 0 &&
                record->state.frame.containsInScreenSpace(p)) {
                target = record->state.id;
                break;
            }
        }
        registry.captured = target;
    } else {
        target = registry.captured;
        if (action == PanelMouseAction::up) {
            registry.captured.reset();
        }
    }
    if (!target) {
        return false;
    }
    Registry::Record* record = registry.find(*target);
    if (!record) {
        return false;
    }
    if (auto handler = record->mouse) {
        // The handler may destroy the panel; it runs on its own copy.
        handler(action, {p.x - record->state.frame.x, p.y - record->state.frame.y});
    }
    return true;
}

bool SimPanels::keyDown(std::uint16_t keyCode) {
    for (auto& [id, record] : registry_->records) {
        if (record.state.isKey && record.state.visible) {
            auto handler = record.key;
            return handler && handler(keyCode);
        }
    }
    return false;
}

std::optional<SimPanelState> SimPanels::keyPanel() const {
    for (const auto& [id, record] : registry_->records) {
        if (record.state.isKey && record.state.visible) {
            return registry_->snapshot(record);
        }
    }
    return std::nullopt;
}

}  // namespace nimbrel::sim
