#include "engine/CoverController.h"

#include <algorithm>

namespace nimbrel {

void CoverController::cover(const WindowRef& window) {
    if (!isCovered(window.element)) {
        covered_.push_back(window);
    }
}

void CoverController::uncover(ElementRef element) {
    std::erase_if(covered_, [&](const WindowRef& w) { return w.element == element; });
}

void CoverController::removeAll() {
    covered_.clear();
}

bool CoverController::isCovered(ElementRef element) const {
    return std::any_of(covered_.begin(), covered_.end(),
                       [&](const WindowRef& w) { return w.element == element; });
}

}  // namespace nimbrel
