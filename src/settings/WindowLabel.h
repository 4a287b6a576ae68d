#pragma once

#include <cstddef>
#include <string>

#include "platform/Localizer.h"

namespace nimbrel {

// How the program names one window wherever it lists it (menus, notices, default cover names):
// the application's name and the window's title, or the name alone for an untitled window. Long
// labels are cut to fit a menu.
inline constexpr std::size_t kWindowLabelLimit = 60;

std::string windowLabel(const Localizer& strings, const std::string& appName,
                        const std::string& title);

}  // namespace nimbrel
