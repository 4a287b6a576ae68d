#pragma once

#include <string>

namespace nimbrel::x11 {

// Whether the fingerprint service on the system bus (fprintd) has a reader with at least one
// enrolled finger of the user. No bus, no service, no reader and no answer within a second all
// read as no.
bool hasEnrolledFinger(const std::string& user);

}  // namespace nimbrel::x11
