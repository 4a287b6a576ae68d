#pragma once

#include "platform/LoginItem.h"

namespace nimbrel::sim {

// The login-item service: the program's entry is registered or not, and the service can be made
// to refuse every change.
class SimLoginItem final : public LoginItem {
  public:
    LoginItemStatus status() override { return status_; }
    bool registerItem() override { return change(LoginItemStatus::enabled); }
    bool unregisterItem() override { return change(LoginItemStatus::notRegistered); }

    // ---- Control surface ----
    void setRefusing(bool refusing) { refusing_ = refusing; }
    LoginItemStatus currentStatus() const { return status_; }

  private:
    bool change(LoginItemStatus to) {
        if (refusing_) {
            return false;
        }
        status_ = to;
        return true;
    }

    LoginItemStatus status_ = LoginItemStatus::notRegistered;
    bool refusing_ = false;
};

}  // namespace nimbrel::sim
