#include "platform/x11/X11Workspace.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

namespace nimbrel::x11 {
namespace {

// The process's start time in clock ticks since boot (field 22 of /proc/PID/stat); 0 when the
// process is gone or the table cannot be read.
unsigned long long startTime(Pid pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat)) {
        return 0;
    }
    // The command name may hold spaces and parentheses; the fields after its last ')' do not.
    auto close = stat.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    // State is field 3; the start time is field 22.
    for (int i = 3; i <= 22; ++i) {
        if (!(fields >> field)) {
            return 0;
        }
    }
    unsigned long long ticks = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), ticks);
    return error == std::errc() && end == field.data() + field.size() ? ticks : 0;
}

bool processLives(Pid pid, unsigned long long started) {
    if (pid <= 0 || (::kill(pid, 0) != 0 && errno == ESRCH)) {
        return false;
    }
    // Without a process table the instance is taken to live as long as its id does.
    unsigned long long now = startTime(pid);
    return now == 0 || started == 0 || now == started;
}

}  // namespace

X11Workspace::X11Workspace(Connection& connection, EventHub& events, X11Screens& screens,
                           DesktopEntries entries)
    : connection_(connection),
      screens_(screens),
      windows_(connection),
      entries_(std::move(entries)) {
    events.select(connection.root(), XCB_EVENT_MASK_PROPERTY_CHANGE);
    events_ = events.subscribe([this](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7f) != XCB_PROPERTY_NOTIFY) {
            return;
        }
        const auto& e = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (e.window != connection_.root()) {
            return;
        }
        if (e.atom == connection_.atom("_NET_CLIENT_LIST")) {
            refresh();
        } else if (e.atom == connection_.atom("_NET_ACTIVE_WINDOW")) {
            activeChanged();
        }
    });
    refresh();
    frontmost_ = frontmostApplication();
}

void X11Workspace::refresh() {
    std::map<Pid, ClientWindow> firstWindow;
    for (ClientWindow& w : windows_.read(windows_.list())) {
        if (w.pid > 0) {
            firstWindow.emplace(w.pid, std::move(w));
        }
    }
    Pid own = ownProcessID();
    std::set<Pid> present;
    for (const auto& [pid, window] : firstWindow) {
        present.insert(pid);
    }
    present.insert(own);

    std::vector<AppRef> launched;
    std::vector<AppRef> ended;
    for (auto& [id, instance] : instances_) {
        if (!instance.terminated && !processLives(instance.pid, instance.started)) {
            instance.terminated = true;
            ended.push_back(AppRef{id});
        }
    }
    for (Pid pid : present) {
        if (live(pid)) {
            continue;
        }
        Instance instance{pid, startTime(pid), {}, {}, false};
        if (auto it = firstWindow.find(pid); it != firstWindow.end()) {
            const ClientWindow& w = it->second;
            if (auto entry = entries_.find(w.instance, w.className)) {
                instance.bundle = entry->id;
                instance.name = entry->name;
            } else {
                instance.bundle = w.className.empty() ? w.instance : w.className;
                instance.name = instance.bundle;
            }
        }
        std::uint64_t id = nextId_++;
        instances_.emplace(id, std::move(instance));
        launched.push_back(AppRef{id});
    }
    for (AppRef app : ended) {
        emit(WorkspaceAppEvent::didTerminate, app);
    }
    for (AppRef app : launched) {
        emit(WorkspaceAppEvent::didLaunch, app);
    }
}

void X11Workspace::activeChanged() {
    auto front = frontmostApplication();
    if (front && front != frontmost_) {
        frontmost_ = front;
        emit(WorkspaceAppEvent::didActivate, *front);
    }
}

void X11Workspace::emit(WorkspaceAppEvent event, AppRef app) {
    // Gathered first: a handler may end its own subscription.
    std::vector<std::function<void(AppRef)>> called;
    for (const auto& [id, handler] : handlers_) {
        if (handler.first == event) {
            called.push_back(handler.second);
        }
    }
    for (const auto& handler : called) {
        handler(app);
    }
}

std::optional<AppRef> X11Workspace::live(Pid pid) {
    for (const auto& [id, instance] : instances_) {
        if (instance.pid == pid && !instance.terminated) {
            return AppRef{id};
        }
    }
    return std::nullopt;
}

std::vector<AppRef> X11Workspace::runningApplications() {
    refresh();
    std::vector<AppRef> running;
    for (const auto& [id, instance] : instances_) {
        if (!instance.terminated) {
            running.push_back(AppRef{id});
        }
    }
    return running;
}

std::optional<AppRef> X11Workspace::frontmostApplication() {
    auto active = windows_.read(windows_.active());
    if (!active || active->pid <= 0) {
        return std::nullopt;
    }
    if (auto app = live(active->pid)) {
        return app;
    }
    refresh();
    return live(active->pid);
}

std::optional<AppRef> X11Workspace::runningApplication(Pid pid) {
    if (auto app = live(pid); app && processLives(pid, instances_.at(app->id).started)) {
        return app;
    }
    refresh();
    return live(pid);
}

Pid X11Workspace::ownProcessID() {
    return static_cast<Pid>(::getpid());
}

Pid X11Workspace::processID(AppRef app) {
    auto it = instances_.find(app.id);
    return it == instances_.end() ? 0 : it->second.pid;
}

std::optional<std::string> X11Workspace::bundleIdentifier(AppRef app) {
    auto it = instances_.find(app.id);
    if (it == instances_.end() || it->second.bundle.empty()) {
        return std::nullopt;
    }
    return it->second.bundle;
}

std::optional<std::string> X11Workspace::localizedName(AppRef app) {
    auto it = instances_.find(app.id);
    if (it == instances_.end() || it->second.name.empty()) {
        return std::nullopt;
    }
    return it->second.name;
}

ActivationPolicy X11Workspace::activationPolicy(AppRef app) {
    // Every process that shows windows is an ordinary application on X; this program says
    // itself what it is through its own service.
    (void)app;
    return ActivationPolicy::regular;
}

bool X11Workspace::isTerminated(AppRef app) {
    auto it = instances_.find(app.id);
    if (it == instances_.end()) {
        return true;
    }
    if (!it->second.terminated && !processLives(it->second.pid, it->second.started)) {
        refresh();
    }
    return it->second.terminated;
}

bool X11Workspace::inSight(const ClientWindow& window) {
    return !window.iconic && screens_.layout().showsOnAnyMonitor(window.frame);
}

bool X11Workspace::isHidden(AppRef app) {
    auto found = hidden_.find(app.id);
    if (found == hidden_.end()) {
        return false;
    }
    for (const ClientWindow& w : windows_.ofProcess(processID(app))) {
        auto ours = std::find_if(found->second.begin(), found->second.end(),
                                 [&](const Iconified& i) { return i.id == w.id; });
        if (ours != found->second.end() && w.iconic) {
            ours->seenIconic = true;
        }
        // The manager answers an iconify request in its own time: a window asked to go that
        // is still in sight has not yet gone, whereas one that went and came back was brought
        // back by the user.
        bool onItsWayOut = ours != found->second.end() && !ours->seenIconic;
        if (inSight(w) && !onItsWayOut) {
            hidden_.erase(found);
            return false;
        }
    }
    return true;
}

bool X11Workspace::hide(AppRef app) {
    if (isTerminated(app)) {
        return false;
    }
    Pid pid = processID(app);
    auto& iconified = hidden_[app.id];
    for (const ClientWindow& w : windows_.ofProcess(pid)) {
        if (inSight(w)) {
            windows_.iconify(w.id);
            iconified.push_back({w.id});
        }
    }
    focusAwayFrom(pid);
    return true;
}

void X11Workspace::focusAwayFrom(Pid pid) {
    auto active = windows_.read(windows_.active());
    if (!active || active->pid != pid) {
        return;
    }
    auto stack = windows_.read(windows_.stacking());
    for (auto window = stack.rbegin(); window != stack.rend(); ++window) {
        bool ordinary = window->type.empty() || window->type == "_NET_WM_WINDOW_TYPE_NORMAL" ||
                        window->type == "_NET_WM_WINDOW_TYPE_DIALOG";
        if (ordinary && window->pid != pid && inSight(*window)) {
            windows_.activate(window->id);
            return;
        }
    }
    xcb_set_input_focus(connection_.get(), XCB_INPUT_FOCUS_POINTER_ROOT,
                        XCB_INPUT_FOCUS_POINTER_ROOT, XCB_CURRENT_TIME);
    connection_.flush();
}

bool X11Workspace::unhide(AppRef app) {
    if (isTerminated(app)) {
        return false;
    }
    auto found = hidden_.find(app.id);
    if (found == hidden_.end()) {
        return true;
    }
    std::vector<Iconified> iconified = std::move(found->second);
    hidden_.erase(found);
    auto find = [&](const ClientWindow& w) {
        return std::find_if(iconified.begin(), iconified.end(),
                            [&](const Iconified& i) { return i.id == w.id; });
    };
    auto ours = [&](const ClientWindow& w) { return find(w) != iconified.end(); };
    // A window still on its way out is waited for: called back before the manager has taken it,
    // a manager that animates the iconify would finish it after the call and leave it minimised.
    // Only a reveal right after a hide waits, and for a bounded time.
    constexpr auto kLongestWait = std::chrono::seconds(1);
    auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    for (;;) {
        auto owned = windows_.ofProcess(processID(app));
        bool leaving = std::any_of(owned.begin(), owned.end(), [&](const ClientWindow& w) {
            return ours(w) && !w.iconic && !find(w)->seenIconic;
        });
        if (!leaving || std::chrono::steady_clock::now() >= deadline) {
            // Bottom to top, so the stack comes back as it was.
            for (const ClientWindow& w : owned) {
                if (ours(w) && w.iconic) {
                    windows_.activate(w.id);
                }
            }
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool X11Workspace::activate(AppRef app) {
    if (isTerminated(app)) {
        return false;
    }
    auto owned = windows_.ofProcess(processID(app));
    if (owned.empty()) {
        return false;
    }
    windows_.activate(owned.back().id);
    return true;
}

Subscription X11Workspace::observe(WorkspaceAppEvent event, std::function<void(AppRef)> handler) {
    std::uint64_t id = nextHandler_++;
    handlers_.emplace(id, std::make_pair(event, std::move(handler)));
    return Subscription([this, id] { handlers_.erase(id); });
}

}  // namespace nimbrel::x11
