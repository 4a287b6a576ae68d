#pragma once

#include "platform/Menu.h"

namespace nimbrel {

// The menu of the program's icon in the Dock (or the desktop's launcher), while it shows one.
class DockMenu {
  public:
    virtual ~DockMenu() = default;

    // Asked for the menu each time it opens; an empty builder leaves the platform's own menu.
    virtual void setMenu(MenuBuilder whenOpening) = 0;
};

}  // namespace nimbrel
