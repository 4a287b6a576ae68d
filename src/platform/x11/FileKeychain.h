#pragma once

#include <functional>
#include <vector>

#include "platform/Keychain.h"
#include "platform/Log.h"
#include "platform/x11/PrivateFile.h"

namespace nimbrel::x11 {

// Generic-password items in a private file (mode 0600, under the XDG data folder), for sessions
// without a secret service. The file is read on every call and replaced atomically on every
// change, so two runs of the program never work on stale copies.
//
// A file that cannot be read, or not as such a list, answers every call with `failure` and is
// never written over: an unreadable store must not look like an empty one, or a damaged file
// would quietly take away the password that guards the user's locked windows.
class FileKeychain final : public Keychain {
  public:
    FileKeychain(PrivateFile file, Log& log) : file_(std::move(file)), log_(log) {}

    KeychainStatus copyMatching(const KeychainQuery& query,
                                std::optional<std::string>& data) override;
    KeychainStatus update(const KeychainQuery& query, const std::string& data) override;
    KeychainStatus add(const KeychainItem& item) override;
    KeychainStatus remove(const KeychainQuery& query) override;

    const std::filesystem::path& path() const { return file_.path(); }
    // Every item, none when the file cannot be read.
    std::optional<std::vector<KeychainItem>> items() { return load(); }
    // Takes out all the named items in one replacement of the file, so either all go or none.
    KeychainStatus removeEach(const std::vector<KeychainQuery>& queries);

  private:
    using Items = std::vector<KeychainItem>;
    using ItemAction = std::function<KeychainStatus(Items& items, Items::iterator item)>;
    // Hands `act` the item the query names; a store that cannot be read and a missing item are
    // answered here.
    KeychainStatus withItem(const KeychainQuery& query, const ItemAction& act);
    std::optional<std::vector<KeychainItem>> load();
    KeychainStatus store(const std::vector<KeychainItem>& items);

    PrivateFile file_;
    Log& log_;
    bool reportedDamage_ = false;
};

}  // namespace nimbrel::x11
