#pragma once

#include <libsecret/secret.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace nimbrel::test {

// Points the process at a session bus that is not there, as a session without one would, until
// it goes out of scope. libsecret's shared connection is let go both ways, so the next call
// connects to whatever the environment names: GDBus drops its shared connection once the last
// reference goes, and the last ones go with work queued on GLib's main context, which nothing
// runs in these tests but this.
class DeadSessionBus {
  public:
    DeadSessionBus() {
        if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
            saved_ = address;
        }
        letGo();
        ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    }
    ~DeadSessionBus() {
        letGo();
        if (saved_) {
            ::setenv("DBUS_SESSION_BUS_ADDRESS", saved_->c_str(), 1);
        } else {
            ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
        }
    }
    DeadSessionBus(const DeadSessionBus&) = delete;
    DeadSessionBus& operator=(const DeadSessionBus&) = delete;

  private:
    static void letGo() {
        secret_service_disconnect();
        while (g_main_context_iteration(nullptr, FALSE) != FALSE) {
        }
    }

    std::optional<std::string> saved_;
};

}  // namespace nimbrel::test
