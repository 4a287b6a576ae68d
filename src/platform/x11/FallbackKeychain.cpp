#include "platform/x11/FallbackKeychain.h"

#include <cmath>

namespace nimbrel::x11 {

FallbackKeychain::FallbackKeychain(ServiceKeychain& service, FileKeychain& file, MainLoop& loop,
                                   Log& log)
    : service_(service), file_(file), loop_(loop), log_(log) {
    lookForService(Look::atStart);
}

KeychainStatus FallbackKeychain::copyMatching(const KeychainQuery& query,
                                              std::optional<std::string>& data) {
    return store().copyMatching(query, data);
}

KeychainStatus FallbackKeychain::update(const KeychainQuery& query, const std::string& data) {
    return store().update(query, data);
}

KeychainStatus FallbackKeychain::add(const KeychainItem& item) {
    return store().add(item);
}

KeychainStatus FallbackKeychain::remove(const KeychainQuery& query) {
    return store().remove(query);
}

Keychain& FallbackKeychain::store() {
    // Either way: a clock set back must not keep the service out of reach until it catches up.
    if (!usesService_ && std::fabs(loop_.now() - lastLook_) >= kLookAgainAfter) {
        lookForService(Look::later);
    }
    if (usesService_) {
        return service_;
    }
    return file_;
}

std::string FallbackKeychain::fileInUse(const std::string& reason) const {
    return "keychain: the private file " + file_.path().string() + ", " + reason;
}

void FallbackKeychain::lookForService(Look look) {
    lastLook_ = loop_.now();
    ServiceKeychain::State state = service_.state();
    if (state != ServiceKeychain::State::usable) {
        if (look == Look::atStart) {
            log_.log(fileInUse(state == ServiceKeychain::State::locked
                                   ? "since the secret service is locked"
                                   : "since the secret service is unavailable"));
        }
        return;
    }
    auto items = file_.items();
    if (!items) {
        if (!reportedUnreadable_) {
            reportedUnreadable_ = true;
            log_.log(fileInUse(
                "which cannot be read: its records are not moved into the secret service until "
                "it is repaired or removed"));
        }
        return;
    }
    if (!items->empty() && !moveIntoService(*items)) {
        if (look == Look::atStart) {
            log_.log(fileInUse("since its records could not be moved into the secret service"));
        }
        return;
    }
    usesService_ = true;
    log_.log(look == Look::atStart ? "keychain: the secret service's default collection"
                                   : "keychain: the secret service is ready and is the keychain "
                                     "from now on");
}

bool FallbackKeychain::moveIntoService(const std::vector<KeychainItem>& items) {
    std::vector<Written> written;
    std::vector<KeychainQuery> moved;
    for (const auto& item : items) {
        KeychainQuery query{item.service, item.account};
        std::optional<std::string> existing;
        KeychainStatus found = service_.copyMatching(query, existing);
        KeychainStatus wrote = found;
        // Noted before the write: one that fails may still have taken in part.
        if (found == KeychainStatus::success) {
            written.push_back({query, false, existing.value_or("")});
            wrote = service_.update(query, item.data);
        } else if (found == KeychainStatus::itemNotFound) {
            written.push_back({query, true, {}});
            wrote = service_.add(item);
        }
        std::optional<std::string> back;
        if (wrote != KeychainStatus::success ||
            service_.copyMatching(query, back) != KeychainStatus::success || back != item.data) {
            takeBack(written);
            log_.log("keychain: cannot move the records of " + file_.path().string() +
                     " into the secret service; they stay in the file");
            return false;
        }
        moved.push_back(query);
    }
    if (file_.removeEach(moved) != KeychainStatus::success) {
        takeBack(written);
        log_.log("keychain: cannot take the moved records out of " + file_.path().string() +
                 "; they stay there, and the secret service's copies are taken back");
        return false;
    }
    log_.log("keychain: moved " + std::to_string(moved.size()) +
             (moved.size() == 1 ? " record from " : " records from ") + file_.path().string() +
             " into the secret service");
    return true;
}

void FallbackKeychain::takeBack(const std::vector<Written>& written) {
    bool complete = true;
    for (auto it = written.rbegin(); it != written.rend(); ++it) {
        KeychainStatus status =
            it->created ? service_.remove(it->query) : service_.update(it->query, it->previous);
        if (status != KeychainStatus::success &&
            !(it->created && status == KeychainStatus::itemNotFound)) {
            complete = false;
        }
    }
    if (!complete) {
        log_.log(
            "keychain: some copies of a failed move stay in the secret service; the file's "
            "records replace them at the next move");
    }
}

}  // namespace nimbrel::x11
