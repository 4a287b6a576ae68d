#pragma once

namespace nimbrel {

enum class LoginItemStatus { notRegistered = 0, enabled = 1, requiresApproval = 2, notFound = 3 };

// The program's own entry among the applications that start when the user logs in.
class LoginItem {
  public:
    virtual ~LoginItem() = default;

    virtual LoginItemStatus status() = 0;
    // False when the system refused; nothing is then changed.
    virtual bool registerItem() = 0;
    virtual bool unregisterItem() = 0;
};

}  // namespace nimbrel
