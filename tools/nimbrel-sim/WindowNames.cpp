#include "WindowNames.h"

#include <charconv>

namespace nimbrel::console {

bool WindowNames::canBind(std::string_view name) const {
    if (name.empty() || name.front() == '#' || name.find('=') != std::string_view::npos) {
        return false;
    }
    auto it = byName_.find(name);
    if (it == byName_.end()) {
        return true;
    }
    const sim::SimWindow* w = desktop_.windowState(it->second);
    return w == nullptr || w->closed;
}

void WindowNames::bind(const std::string& name, ElementRef window) {
    auto it = byName_.find(name);
    if (it != byName_.end()) {
        byElement_.erase(it->second.id);
    }
    byName_[name] = window;
    byElement_[window.id] = name;
}

std::optional<ElementRef> WindowNames::element(std::string_view name) const {
    if (auto it = byName_.find(name); it != byName_.end()) {
        return it->second;
    }
    if (name.size() > 1 && name.front() == '#') {
        WindowNumber number = 0;
        auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), number);
        if (ec == std::errc() && end == name.data() + name.size()) {
            for (ElementRef e : desktop_.windowStack()) {
                if (desktop_.windowState(e)->number == number) {
                    return e;
                }
            }
        }
    }
    return std::nullopt;
}

std::string WindowNames::nameOf(ElementRef window) const {
    if (auto it = byElement_.find(window.id); it != byElement_.end()) {
        return it->second;
    }
    const sim::SimWindow* w = desktop_.windowState(window);
    return "#" + std::to_string(w != nullptr ? w->number : 0);
}

}  // namespace nimbrel::console
