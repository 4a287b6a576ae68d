#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Keychain.h"

namespace nimbrel::sim {

// The login keychain of the simulated desktop: it outlives any one run of the program. Besides the
// program's calls it can be inspected, damaged, locked or made to refuse from outside.
class SimKeychain final : public Keychain {
  public:
    KeychainStatus copyMatching(const KeychainQuery& query,
                                std::optional<std::string>& data) override;
    KeychainStatus update(const KeychainQuery& query, const std::string& data) override;
    KeychainStatus add(const KeychainItem& item) override;
    KeychainStatus remove(const KeychainQuery& query) override;

    // Control surface.
    std::vector<KeychainItem> items() const;
    std::optional<KeychainItem> find(const KeychainQuery& query) const;
    // `keychain SERVICE ACCOUNT label="L" DATA` for the item, `keychain none` without one.
    std::string describe(const KeychainQuery& query) const;
    // Deletes or rewrites an item from outside the program; false when there is none.
    bool deleteItem(const KeychainQuery& query);
    bool overwriteData(const KeychainQuery& query, std::string data);
    // An item whose content is not data (a certificate reference, say): it is found, but a read
    // returns nothing.
    bool makeOpaque(const KeychainQuery& query);
    // While refusing, every call is denied; while locked, every call answers that the user would
    // have to be asked.
    void setRefusing(bool refusing) { refusing_ = refusing; }
    void setLocked(bool locked) { locked_ = locked; }
    std::size_t callCount() const { return calls_; }

  private:
    struct Slot {
        KeychainItem item;
        bool opaque = false;
    };
    std::optional<KeychainStatus> refusal();
    Slot* slot(const KeychainQuery& query);
    const Slot* slot(const KeychainQuery& query) const;

    std::vector<Slot> slots_;
    bool refusing_ = false;
    bool locked_ = false;
    std::size_t calls_ = 0;
};

}  // namespace nimbrel::sim
