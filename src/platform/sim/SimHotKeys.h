#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "platform/HotKeyService.h"
#include "platform/MainLoop.h"

namespace nimbrel::sim {

// The desktop's global hot-key service. Combinations that another application holds are refused;
// a key that goes down on a registered combination goes to the program and no further, and keeps
// repeating its pressed event while held, as keyboard auto-repeat does.
class SimHotKeys final : public HotKeyService {
  public:
    // Auto-repeat of a held key: first repeat after the delay, then one per interval.
    static constexpr double kRepeatDelay = 0.5;
    static constexpr double kRepeatInterval = 0.1;

    struct Registration {
        HotKeyRef ref;
        std::uint32_t keyCode = 0;
        std::uint32_t modifiers = 0;
        HotKeyIdentity identity;
    };

    explicit SimHotKeys(MainLoop& loop);
    SimHotKeys(const SimHotKeys&) = delete;
    SimHotKeys& operator=(const SimHotKeys&) = delete;
    ~SimHotKeys() override;

    Subscription installHandler(Handler handler) override;
    HotKeyStatus registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                HotKeyIdentity identity, HotKeyRef& ref) override;
    void unregisterHotKey(HotKeyRef ref) override;

    // Control surface of the desktop.
    void setTaken(std::uint32_t keyCode, std::uint32_t modifiers, bool taken);
    // Another application holds the combination as its global hot key.
    bool isTaken(std::uint32_t keyCode, std::uint32_t modifiers) const {
        return taken_.count({keyCode, modifiers}) != 0;
    }
    void setAutoRepeat(bool on) { autoRepeat_ = on; }
    // A key goes down with these modifiers held; true when a registered hot key took it.
    bool keyDown(std::uint32_t keyCode, std::uint32_t modifiers);
    // The key comes up; true when it ends a hot key (the release goes to the program).
    bool keyUp(std::uint32_t keyCode, std::uint32_t modifiers);
    // The program's registrations, in the order they were made.
    const std::vector<Registration>& registrations() const { return registrations_; }

  private:
    using Combo = std::pair<std::uint32_t, std::uint32_t>;

    const Registration* find(HotKeyRef ref) const;
    const Registration* find(std::uint32_t keyCode, std::uint32_t modifiers) const;
    void deliver(HotKeyEventKind kind, HotKeyRef ref);
    void startRepeating(HotKeyRef ref);
    void stopRepeating(HotKeyRef ref);

    MainLoop& loop_;
    std::vector<Registration> registrations_;
    std::set<Combo> taken_;
    // Hot keys whose key is down, with the auto-repeat timer of each.
    std::map<std::uint64_t, Timer> down_;
    // Shared with the subscriptions and posted deliveries, which may outlive this service.
    std::shared_ptr<std::map<std::uint64_t, Handler>> handlers_;
    std::uint64_t nextHandler_ = 1;
    std::uint64_t nextRef_ = 1;
    bool autoRepeat_ = true;
};

}  // namespace nimbrel::sim
