#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/WindowMinimizer.h"
#include "platform/Localizer.h"
#include "platform/MainLoop.h"
#include "platform/UserDefaults.h"

namespace nimbrel {

// One refused or unauthorised attempt to see a locked window.
struct Attempt {
    TimePoint date = 0;
    std::string label;
    AttemptReason reason = AttemptReason::authFailed;

    friend bool operator==(const Attempt&, const Attempt&) = default;
};

// The log of attempts, oldest first, kept in the user defaults and written after every change.
// It holds the newest entries only, so a long siege cannot grow it without bound.
class AttemptsLog {
  public:
    static constexpr const char* kDefaultsKey = "attempts.v1";
    static constexpr std::size_t kMaxEntries = 100;

    // Loads the stored log; one that is absent or cannot be read is an empty log.
    explicit AttemptsLog(UserDefaults& defaults);
    AttemptsLog(const AttemptsLog&) = delete;
    AttemptsLog& operator=(const AttemptsLog&) = delete;

    const std::vector<Attempt>& entries() const { return entries_; }
    bool isEmpty() const { return entries_.empty(); }

    void record(TimePoint date, const std::string& label, AttemptReason reason);
    void clear();

    // The localised text of a reason.
    static std::string reasonText(const Localizer& strings, AttemptReason reason);

  private:
    void load();
    void save();

    UserDefaults& defaults_;
    std::vector<Attempt> entries_;
};

}  // namespace nimbrel
