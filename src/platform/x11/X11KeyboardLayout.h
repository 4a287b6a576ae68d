#pragma once

#include <memory>

#include "platform/KeyboardLayout.h"
#include "platform/x11/Connection.h"

struct xkb_context;
struct xkb_keymap;

namespace nimbrel::x11 {

// The text a key position gives on the user's current layout, read from the server's keyboard
// map through xkbcommon. A layout switched later is read again by `reload`.
class X11KeyboardLayout final : public KeyboardLayout {
  public:
    explicit X11KeyboardLayout(Connection& connection);
    ~X11KeyboardLayout() override;
    X11KeyboardLayout(const X11KeyboardLayout&) = delete;
    X11KeyboardLayout& operator=(const X11KeyboardLayout&) = delete;

    std::string characters(std::uint32_t keyCode) override;
    void reload();

  private:
    Connection& connection_;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
};

}  // namespace nimbrel::x11
