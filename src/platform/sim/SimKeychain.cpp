#include "platform/sim/SimKeychain.h"

#include <algorithm>

namespace nimbrel::sim {
namespace {

auto sameItem(const KeychainQuery& query) {
    return [&query](const auto& slot) {
        return slot.item.service == query.service && slot.item.account == query.account;
    };
}

}  // namespace

std::optional<KeychainStatus> SimKeychain::refusal() {
    ++calls_;
    if (refusing_) {
        return KeychainStatus::accessDenied;
    }
    if (locked_) {
        return KeychainStatus::interactionNotAllowed;
    }
    return std::nullopt;
}

SimKeychain::Slot* SimKeychain::slot(const KeychainQuery& query) {
    auto it = std::find_if(slots_.begin(), slots_.end(), sameItem(query));
    return it == slots_.end() ? nullptr : &*it;
}

const SimKeychain::Slot* SimKeychain::slot(const KeychainQuery& query) const {
    auto it = std::find_if(slots_.begin(), slots_.end(), sameItem(query));
    return it == slots_.end() ? nullptr : &*it;
}

KeychainStatus SimKeychain::copyMatching(const KeychainQuery& query,
                                         std::optional<std::string>& data) {
    data.reset();
    if (auto refused = refusal()) {
        return *refused;
    }
    const Slot* found = slot(query);
    if (found == nullptr) {
        return KeychainStatus::itemNotFound;
    }
    if (!found->opaque) {
        data = found->item.data;
    }
    return KeychainStatus::success;
}

KeychainStatus SimKeychain::update(const KeychainQuery& query, const std::string& data) {
    if (auto refused = refusal()) {
        return *refused;
    }
    Slot* found = slot(query);
    if (found == nullptr) {
        return KeychainStatus::itemNotFound;
    }
    found->item.data = data;
    found->opaque = false;
    return KeychainStatus::success;
}

KeychainStatus SimKeychain::add(const KeychainItem& item) {
    if (auto refused = refusal()) {
        return *refused;
    }
    if (slot({item.service, item.account}) != nullptr) {
        return KeychainStatus::duplicateItem;
    }
    slots_.push_back(Slot{item, false});
    return KeychainStatus::success;
}

KeychainStatus SimKeychain::remove(const KeychainQuery& query) {
    if (auto refused = refusal()) {
        return *refused;
    }
    return deleteItem(query) ? KeychainStatus::success : KeychainStatus::itemNotFound;
}

std::vector<KeychainItem> SimKeychain::items() const {
    std::vector<KeychainItem> out;
    for (const auto& s : slots_) {
        out.push_back(s.item);
    }
    return out;
}

std::optional<KeychainItem> SimKeychain::find(const KeychainQuery& query) const {
    const Slot* found = slot(query);
    if (found == nullptr) {
        return std::nullopt;
    }
    return found->item;
}

std::string SimKeychain::describe(const KeychainQuery& query) const {
    const Slot* found = slot(query);
    if (found == nullptr) {
        return "keychain none";
    }
    const auto& item = found->item;
    return "keychain " + item.service + " " + item.account + " label=\"" + item.label + "\" " +
           (found->opaque ? std::string("<opaque>") : item.data);
}

bool SimKeychain::deleteItem(const KeychainQuery& query) {
    auto it = std::find_if(slots_.begin(), slots_.end(), sameItem(query));
    if (it == slots_.end()) {
        return false;
    }
    slots_.erase(it);
    return true;
}

bool SimKeychain::overwriteData(const KeychainQuery& query, std::string data) {
    Slot* found = slot(query);
    if (found == nullptr) {
        return false;
    }
    found->item.data = std::move(data);
    found->opaque = false;
    return true;
}

bool SimKeychain::makeOpaque(const KeychainQuery& query) {
    Slot* found = slot(query);
    if (found == nullptr) {
        return false;
    }
    found->opaque = true;
    return true;
}

}  // namespace nimbrel::sim
