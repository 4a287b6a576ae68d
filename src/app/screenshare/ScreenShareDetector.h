#pragma once

#include "platform/Accessibility.h"
#include "platform/UnicodeText.h"
#include "platform/Workspace.h"

namespace nimbrel {

// Tells whether the screen is being shared, from the titles meeting tools give their sharing
// banners. It reads the title of every window of every ordinary application each time, so it is
// asked no more often than the periodic tick.
class ScreenShareDetector {
  public:
    ScreenShareDetector(Accessibility& accessibility, Workspace& workspace,
                        CaseFolding folding = CaseFolding::standard)
        : accessibility_(accessibility), workspace_(workspace), folding_(folding) {}
    ScreenShareDetector(const ScreenShareDetector&) = delete;
    ScreenShareDetector& operator=(const ScreenShareDetector&) = delete;

    // False without the accessibility permission.
    bool isScreenSharing();

  private:
    // Ordinary applications other than this program, and meeting tools whatever their kind.
    bool isExamined(AppRef app, Pid ownPid);
    bool hasSharingTitle(Pid pid);

    Accessibility& accessibility_;
    Workspace& workspace_;
    CaseFolding folding_;
};

}  // namespace nimbrel
