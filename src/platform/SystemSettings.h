#pragma once

namespace nimbrel {

// The desktop's own settings application.
class SystemSettings {
  public:
    virtual ~SystemSettings() = default;

    // Opens the page where the user grants the program access to other applications' windows;
    // false when there is no such page to open.
    virtual bool openAccessibilityPane() = 0;
};

}  // namespace nimbrel
