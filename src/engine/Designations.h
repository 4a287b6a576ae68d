#pragma once

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "engine/WindowAccess.h"
#include "engine/WindowRef.h"
#include "settings/Uuid.h"
#include "settings/WindowBinding.h"

namespace nimbrel {

// Designated windows: the live windows a binding stands for, remembered by element so that a
// window whose title or number changed is still found while it lives.
class Designations {
  public:
    // A binding was matched by its title to a window whose number differs from the stored one.
    using NumberChanged = std::function<void(const Uuid& id, WindowNumber number)>;

    Designations(WindowAccess& access, Workspace& workspace, NumberChanged onNumberChanged)
        : access_(access), workspace_(workspace), onNumberChanged_(std::move(onNumberChanged)) {}

    std::vector<WindowRef> windows(const WindowBinding& binding);
    void designate(ElementRef element, const Uuid& id) { designated_[id] = element; }
    std::optional<Uuid> bindingID(ElementRef element) const;
    const std::map<Uuid, ElementRef>& designated() const { return designated_; }

  private:
    std::optional<ElementRef> matchWindow(const WindowBinding& binding, AppRef app,
                                          const std::vector<ElementRef>& windows);

    WindowAccess& access_;
    Workspace& workspace_;
    NumberChanged onNumberChanged_;
    std::map<Uuid, ElementRef> designated_;
};

}  // namespace nimbrel
