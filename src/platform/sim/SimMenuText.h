#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Menu.h"

namespace nimbrel::sim {

// A menu as the console prints it: one line per item, two spaces per submenu depth, then the
// title and its marks ([disabled] [checked] [key=⌘Q] [indent=N]); a separator is "---". Each
// submenu is built as when it opens and follows its item.
std::vector<std::string> describeMenu(const Menu& menu);

// The item reached by following the titles through submenus, each built as when it opens. On
// failure `why` says which title was not found.
std::optional<MenuItem> findMenuItem(const Menu& menu, const std::vector<std::string>& path,
                                     std::string& why);

}  // namespace nimbrel::sim
