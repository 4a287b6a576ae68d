#pragma once

#include <string>

namespace nimbrel {

// The time left in a lock-out as the locale writes it in full ("30 seconds", "2 minutes"): whole
// seconds, at least one, below a minute; whole minutes, rounded up, from a minute on. Empty when
// the locale cannot format it.
std::string lockoutRemainingText(double secondsLeft, const std::string& locale);

}  // namespace nimbrel
