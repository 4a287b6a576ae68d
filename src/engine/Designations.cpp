#include "engine/Designations.h"

#include <algorithm>

#include "platform/AccessibilityNames.h"

namespace nimbrel {

std::vector<WindowRef> Designations::windows(const WindowBinding& requested) {
    // A copy: the number report may make the shell replace the very binding it handed in.
    const WindowBinding binding = requested;
    Workspace& workspace = workspace_;
    std::vector<WindowRef> result;
    auto add = [&](ElementRef element, AppRef app) {
        bool present = std::any_of(result.begin(), result.end(),
                                   [&](const WindowRef& w) { return w.element == element; });
        if (!present) {
            result.push_back(WindowRef{element, app, access_.title(element)});
        }
    };
    for (AppRef app : workspace.runningApplications()) {
        if (workspace.isTerminated(app) || workspace.processID(app) == workspace.ownProcessID()) {
            continue;
        }
        LiveApp live{workspace.bundleIdentifier(app), workspace.localizedName(app)};
        if (!binding.matchesApp(live)) {
            continue;
        }
        std::vector<ElementRef> standard = access_.standardWindows(access_.applicationElement(app));
        if (binding.wholeApp) {
            for (ElementRef element : standard) {
                add(element, app);
            }
        } else if (auto element = matchWindow(binding, app, standard)) {
            add(*element, app);
        }
    }
    return result;
}

std::optional<ElementRef> Designations::matchWindow(const WindowBinding& binding, AppRef app,
                                                    const std::vector<ElementRef>& windows) {
    Pid pid = workspace_.processID(app);
    // The element wins while the window lives: its title and number may have changed since.
    if (auto it = designated_.find(binding.id); it != designated_.end()) {
        ElementRef element = it->second;
        if (access_.processID(element) == pid && access_.answersRole(element)) {
            return element;
        }
    }
    if (binding.windowNumber) {
        for (ElementRef element : windows) {
            if (access_.windowNumber(element) == binding.windowNumber) {
                designated_[binding.id] = element;
                return element;
            }
        }
    }
    for (ElementRef element : windows) {
        if (access_.stringAttribute(ax::attribute::kTitle, element) != binding.title) {
            continue;
        }
        designated_[binding.id] = element;
        // Found by title: typically the application relaunched and its windows got new numbers.
        auto number = access_.windowNumber(element);
        if (number && number != binding.windowNumber && onNumberChanged_) {
            onNumberChanged_(binding.id, *number);
        }
        return element;
    }
    if (windows.size() == 1) {
        designated_[binding.id] = windows.front();
        return windows.front();
    }
    return std::nullopt;
}

std::optional<Uuid> Designations::bindingID(ElementRef element) const {
    for (const auto& [id, designatedElement] : designated_) {
        if (designatedElement == element) {
            return id;
        }
    }
    return std::nullopt;
}

}  // namespace nimbrel
