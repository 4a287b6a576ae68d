#pragma once

#include <memory>
#include <string>

#include "platform/Menu.h"

namespace nimbrel {

// The program's icon in the system's status bar and the menu it opens.
class StatusItem {
  public:
    virtual ~StatusItem() = default;

    // A symbol of the platform's symbol set drawn as a template image, described for assistive
    // technologies; false when the platform has no such symbol (the caller then shows a title).
    virtual bool setSymbol(const std::string& symbol, const std::string& description) = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setVisible(bool visible) = 0;
    // Asked for the menu each time the user opens it. Items are enabled exactly as the builder
    // says; the platform never enables or disables them by itself.
    virtual void setMenu(MenuBuilder whenOpening) = 0;
};

class StatusBar {
  public:
    virtual ~StatusBar() = default;

    // An item as wide as the bar is high. It leaves the bar when the program destroys it, and
    // must not outlive the platform.
    virtual std::unique_ptr<StatusItem> addSquareItem() = 0;
};

}  // namespace nimbrel
