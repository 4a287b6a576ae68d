#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/UnicodeText.h"

namespace nimbrel {

// No system event covers every meeting tool starting to share the screen, but their sharing
// toolbars and banners carry recognisable titles; these tables say which ones.
class ScreenShareHint {
  public:
    ScreenShareHint() = delete;

    static constexpr std::size_t kPhraseCount = 30;

    // Meeting tools that run as accessory or background applications and still put their
    // sharing banners on screen.
    static const std::unordered_set<std::string>& meetingApps();
    // In the order they are tried; matching ignores their case.
    static const std::array<std::string_view, kPhraseCount>& phrases();

    // Whether the title contains one of the phrases, ignoring case as the folding pairs cases.
    static bool matches(std::string_view title, CaseFolding folding = CaseFolding::standard);
    // The same for a title already prepared, so that a pass over many titles folds each once.
    static bool matches(const CaselessText& title, CaseFolding folding = CaseFolding::standard);
};

}  // namespace nimbrel
