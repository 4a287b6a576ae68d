#pragma once

#include "app/BindingLookup.h"
#include "engine/WindowMinimizer.h"
#include "platform/UnicodeText.h"
#include "settings/SettingsStore.h"

namespace nimbrel {

// Binds and hides, locked, every window whose title contains one of the user's keywords. A window
// is bound once: after that the user may reveal it and it stays in sight, like any other bound one.
class KeywordHiding {
  public:
    struct Services {
        SettingsStore& store;
        WindowMinimizer& minimizer;
        BindingLookup& lookup;
        CaseFolding folding = CaseFolding::standard;
    };

    explicit KeywordHiding(Services services) : services_(services) {}
    KeywordHiding(const KeywordHiding&) = delete;
    KeywordHiding& operator=(const KeywordHiding&) = delete;

    // One periodic pass over every window of the ordinary applications.
    void tick();

  private:
    void bindAndHide(const WindowRef& window);

    Services services_;
};

}  // namespace nimbrel
