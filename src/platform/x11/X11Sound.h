#pragma once

#include "platform/Sound.h"
#include "platform/x11/Connection.h"

namespace nimbrel::x11 {

// The alert sound is the X bell, at the volume the user set for it.
class X11Sound final : public Sound {
  public:
    explicit X11Sound(Connection& connection) : connection_(connection) {}
    void beep() override {
        xcb_bell(connection_.get(), 0);
        connection_.flush();
    }

  private:
    Connection& connection_;
};

}  // namespace nimbrel::x11
