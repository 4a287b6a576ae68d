#pragma once

#include <optional>
#include <vector>

#include "platform/EventSource.h"
#include "platform/MainLoop.h"
#include "platform/Workspace.h"

namespace nimbrel {

// What to do when a hidden window is about to get the keyboard focus.
enum class SummonVerdict {
    reveal,     // the user asked for it: bring it back (a locked one still asks first)
    moveFocus,  // keep it hidden and hand the focus to another window
    ignore,
};

// What brought a parked window forward.
enum class SummonCause { activation, focusChange };

// Which of the user's input counts as asking for something.
enum class InputKind { clicks, clicksAndKeys };

// An application whose unlock prompt the user declined or failed, and when.
struct DeclinedPrompt {
    Pid pid = 0;
    TimePoint date = kDistantPast;
};

// Tells the user's requests for a hidden window from things that merely happen to its
// application, from how long ago they last clicked or typed; and remembers the unlock prompts
// they declined, so that a window brought forward again right after a refusal does not ask again.
class Summons {
  public:
    Summons(EventSource& eventSource, MainLoop& loop) : eventSource_(eventSource), loop_(loop) {}

    // The engine hid a window just now.
    void noteHide() { lastHideAt_ = loop_.now(); }
    SummonVerdict decide(SummonCause cause, bool hasOtherWindow) const;
    // The user clicked (or typed) recently enough for it to be a request.
    bool hasFreshInput(InputKind kind) const;

    // Whether a locked window of that application may ask to be unlocked now: not when a prompt
    // of it was declined moments ago and nobody has clicked or typed since.
    bool mayAsk(Pid pid);
    void noteDeclined(Pid pid) { declined_.push_back({pid, loop_.now()}); }
    const std::vector<DeclinedPrompt>& declined() const { return declined_; }

  private:
    std::optional<double> secondsSinceInput(InputKind kind) const;

    EventSource& eventSource_;
    MainLoop& loop_;
    TimePoint lastHideAt_ = kDistantPast;
    std::vector<DeclinedPrompt> declined_;
};

}  // namespace nimbrel
