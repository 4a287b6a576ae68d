#pragma once

#include <optional>
#include <vector>

#include "engine/WindowMinimizer.h"
#include "platform/MainLoop.h"
#include "platform/UserDefaults.h"
#include "settings/SavedCover.h"

namespace nimbrel {

// What an update relaunch leaves for the next process: the windows to hide again, focus mode's
// lock and the region covers. Written just before the relaunch, read once and deleted at launch.
struct UpdateResume {
    TimePoint savedAt = 0;
    std::vector<ResumeWindow> windows;
    std::optional<bool> focusLocked;
    std::vector<SavedCover::Region> regions;

    bool isEmpty() const { return windows.empty() && regions.empty() && !focusLocked; }

    Json toJson() const;
    // None unless every value is one the program could have written: a finite date, window keys
    // in range, regions of finite numbers with no negative size.
    static std::optional<UpdateResume> fromJson(const Json& json);

    // Stores nothing when the record cannot be encoded.
    void save(UserDefaults& defaults) const;
    // Reads and deletes the record; none when absent, undecodable, or outside the age window.
    static std::optional<UpdateResume> take(UserDefaults& defaults, TimePoint now);
};

}  // namespace nimbrel
