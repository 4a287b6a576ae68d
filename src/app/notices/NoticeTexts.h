#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/notices/HUDContent.h"
#include "platform/Localizer.h"

namespace nimbrel {

// The title and detail of every notice the program shows, from the string tables.
class NoticeTexts {
  public:
    explicit NoticeTexts(const Localizer& strings) : strings_(strings) {}

    HUDContent resumed() const;
    // The names of the allowed applications that stay visible, in order.
    HUDContent focusOn(const std::vector<std::string>& keptApps) const;
    HUDContent focusOff() const;
    // `hideAllKeys`: the text of the shortcut that hides all designated windows, when it is set.
    HUDContent designated(const std::string& label,
                          const std::optional<std::string>& hideAllKeys) const;
    HUDContent wholeApp(const std::string& appName) const;
    HUDContent unassigned(const std::string& label) const;
    // `regionCoverKeys`: the text of the region-cover shortcut, when it is set.
    HUDContent regionSaved(const std::string& name,
                           const std::optional<std::string>& regionCoverKeys) const;
    // The detail names the regions that could not be placed, and is empty when there are none
    // and something was placed.
    HUDContent regionApplied(long long placed, long long missing) const;
    HUDContent regionNone() const;

  private:
    const Localizer& strings_;
};

}  // namespace nimbrel
