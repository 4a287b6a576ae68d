#include "app/AttemptDate.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace nimbrel {

std::string attemptDateText(TimePoint date) {
    using namespace std::chrono;
    // Seconds from the Unix epoch to 1 January 2001, the reference of the program's clock.
    constexpr long long kReferenceOffset = 978307200;
    if (!std::isfinite(date)) {
        return {};
    }
    sys_seconds at{seconds(kReferenceOffset + static_cast<long long>(std::floor(date)))};
    sys_days day = floor<days>(at);
    year_month_day ymd{day};
    hh_mm_ss<seconds> time{at - day};
    char text[32];
    std::snprintf(text, sizeof text, "%u/%u %02lld:%02lld:%02lld",
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<long long>(time.hours().count()),
                  static_cast<long long>(time.minutes().count()),
                  static_cast<long long>(time.seconds().count()));
    return text;
}

}  // namespace nimbrel
