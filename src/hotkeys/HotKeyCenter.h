#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/HotKeyService.h"
#include "platform/Subscription.h"
#include "settings/KeyCombo.h"

namespace nimbrel {

// Turns key combinations into system-wide hot keys and calls a press action once when one goes
// down (however long it is held) and a release action when it comes up.
class HotKeyCenter {
  public:
    // 'TUMY': the program's mark on every hot key it registers.
    static constexpr std::uint32_t kSignature = 0x54554D59;

    struct Handler {
        std::function<void()> press;
        std::function<void()> release;
    };

    // The service must outlive the center; the center takes its hot keys with it when it goes.
    explicit HotKeyCenter(HotKeyService& service);
    HotKeyCenter(const HotKeyCenter&) = delete;
    HotKeyCenter& operator=(const HotKeyCenter&) = delete;
    ~HotKeyCenter();

    // False when the system refuses the combination; nothing changes then.
    bool registerHotKey(const KeyCombo& combo, std::function<void()> press,
                        std::function<void()> release);
    void unregisterAll();

    // The id the next registration gets. Ids only grow, so that a late event of a cleared
    // registration can never reach a newer one.
    std::uint32_t nextID() const { return nextID_; }
    bool isHeld(std::uint32_t id) const { return held_.count(id) != 0; }
    std::size_t registrationCount() const { return refs_.size(); }

  private:
    void handle(HotKeyEventKind kind, HotKeyIdentity identity);

    HotKeyService& service_;
    std::vector<HotKeyRef> refs_;
    std::map<std::uint32_t, Handler> handlers_;
    std::set<std::uint32_t> held_;
    std::uint32_t nextID_ = 1;
    Subscription events_;
};

}  // namespace nimbrel
