#pragma once

#include <string>

#include "platform/MainLoop.h"

namespace nimbrel {

// When an attempt happened, as its row in the menu shows it: "M/d HH:mm:ss" (month and day without
// leading zeros). The platform names no time zone, so the time is universal time.
std::string attemptDateText(TimePoint date);

}  // namespace nimbrel
