#pragma once

#include <string>
#include <vector>

#include "engine/WindowRef.h"

namespace nimbrel {

// Keeps track of the windows that are hidden behind one of the program's cover panels. The panels
// themselves are drawn by the overlay layer; the engine only needs to know what is covered.
class CoverController {
  public:
    CoverController() = default;
    CoverController(const CoverController&) = delete;
    CoverController& operator=(const CoverController&) = delete;
    virtual ~CoverController() = default;

    virtual void cover(const WindowRef& window);
    virtual void uncover(ElementRef element);
    virtual void removeAll();
    virtual void setMessage(const std::string& message) { message_ = message; }

    bool isCovered(ElementRef element) const;
    const std::vector<WindowRef>& covered() const { return covered_; }
    const std::string& message() const { return message_; }

  private:
    std::vector<WindowRef> covered_;
    std::string message_;
};

}  // namespace nimbrel
