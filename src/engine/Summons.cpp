#include "engine/Summons.h"

#include <cmath>

namespace nimbrel {

namespace {
// Input older than this did not ask for anything that happens now.
constexpr double kFreshInput = 2.0;
// How long a declined prompt keeps its application from asking again without new input.
constexpr double kDeclinedLifetime = 10.0;
}  // namespace

std::optional<double> Summons::secondsSinceInput(InputKind kind) const {
    // The platform reports no right mouse up of its own; a click is the left mouse up.
    std::vector<InputEventType> types{InputEventType::leftMouseUp};
    if (kind == InputKind::clicksAndKeys) {
        types.push_back(InputEventType::keyDown);
    }
    std::optional<double> least;
    for (InputEventType type : types) {
        double seconds = eventSource_.secondsSinceLastEvent(type);
        if (std::isfinite(seconds) && (!least || seconds < *least)) {
            least = seconds;
        }
    }
    return least;
}

bool Summons::hasFreshInput(InputKind kind) const {
    auto sinceInput = secondsSinceInput(kind);
    return sinceInput && *sinceInput <= kFreshInput;
}

SummonVerdict Summons::decide(SummonCause cause, bool hasOtherWindow) const {
    bool fromFocusChange = cause == SummonCause::focusChange;
    auto sinceInput = secondsSinceInput(InputKind::clicks);
    double sinceHide = loop_.now() - lastHideAt_;
    if (!sinceInput || *sinceInput > kFreshInput) {
        // Nobody clicked: the system handed the focus over, typically right after a hide.
        if (fromFocusChange) {
            return SummonVerdict::ignore;
        }
        return hasOtherWindow ? SummonVerdict::moveFocus : SummonVerdict::ignore;
    }
    // A click that came before the last hide was the one that hid it, not a request to see it.
    bool clickedAfterHide = sinceHide > *sinceInput;
    if (fromFocusChange) {
        return clickedAfterHide ? SummonVerdict::reveal : SummonVerdict::ignore;
    }
    if (hasOtherWindow) {
        return SummonVerdict::moveFocus;
    }
    return clickedAfterHide ? SummonVerdict::reveal : SummonVerdict::ignore;
}

bool Summons::mayAsk(Pid pid) {
    TimePoint now = loop_.now();
    std::erase_if(declined_,
                  [&](const DeclinedPrompt& d) { return now - d.date > kDeclinedLifetime; });
    std::optional<TimePoint> declinedAt;
    for (const auto& entry : declined_) {
        if (entry.pid == pid && (!declinedAt || entry.date > *declinedAt)) {
            declinedAt = entry.date;
        }
    }
    if (!declinedAt) {
        return true;
    }
    auto sinceInput = secondsSinceInput(InputKind::clicksAndKeys);
    if (sinceInput && *sinceInput <= kFreshInput && now - *sinceInput > *declinedAt) {
        // The user clicked or typed after declining: that is a new request.
        std::erase_if(declined_, [&](const DeclinedPrompt& d) { return d.pid == pid; });
        return true;
    }
    return false;
}

}  // namespace nimbrel
