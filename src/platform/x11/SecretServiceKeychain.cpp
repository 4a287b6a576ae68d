#include "platform/x11/SecretServiceKeychain.h"

#include <libsecret/secret.h>

#include <memory>
#include <vector>

namespace nimbrel::x11 {
namespace {
namespace secretservice {

struct ObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using Owned = std::unique_ptr<T, ObjectRelease>;

struct ErrorRelease {
    void operator()(GError* error) const { g_error_free(error); }
};
using Error = std::unique_ptr<GError, ErrorRelease>;

struct TableRelease {
    void operator()(GHashTable* table) const { g_hash_table_unref(table); }
};
using Attributes = std::unique_ptr<GHashTable, TableRelease>;

struct ValueRelease {
    void operator()(SecretValue* value) const { secret_value_unref(value); }
};
using Value = std::unique_ptr<SecretValue, ValueRelease>;

// The schema's name is stored with every item too (libsecret adds it as "xdg:schema"), so a
// search by these attributes never reaches another program's items.
const SecretSchema& schema() {
    static const SecretSchema value = [] {
        SecretSchema made{};
        made.name = "com.plovek.nimbrel.GenericPassword";
        made.flags = SECRET_SCHEMA_NONE;
        made.attributes[0] = {"application", SECRET_SCHEMA_ATTRIBUTE_STRING};
        made.attributes[1] = {"service", SECRET_SCHEMA_ATTRIBUTE_STRING};
        made.attributes[2] = {"account", SECRET_SCHEMA_ATTRIBUTE_STRING};
        return made;
    }();
    return value;
}

// D-Bus strings are UTF-8 without a NUL, and GVariant refuses anything else outright; a name
// that cannot be one names no item of the service.
bool fitsBus(const std::string& text) {
    return text.find('\0') == std::string::npos &&
           g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
}

Attributes attributesOf(const std::string& application, const KeychainQuery& query) {
    if (!fitsBus(application) || !fitsBus(query.service) || !fitsBus(query.account)) {
        return nullptr;
    }
    Attributes table(g_hash_table_new_full(g_str_hash, g_str_equal, g_free, g_free));
    g_hash_table_insert(table.get(), g_strdup("application"), g_strdup(application.c_str()));
    g_hash_table_insert(table.get(), g_strdup("service"), g_strdup(query.service.c_str()));
    g_hash_table_insert(table.get(), g_strdup("account"), g_strdup(query.account.c_str()));
    return table;
}

KeychainStatus statusOf(const GError* error) {
    if (error != nullptr && error->domain == SECRET_ERROR) {
        switch (error->code) {
            case SECRET_ERROR_IS_LOCKED:
                return KeychainStatus::interactionNotAllowed;
            case SECRET_ERROR_NO_SUCH_OBJECT:
                return KeychainStatus::itemNotFound;
            case SECRET_ERROR_ALREADY_EXISTS:
                return KeychainStatus::duplicateItem;
            default:
                break;
        }
    }
    if (g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_ACCESS_DENIED)) {
        return KeychainStatus::accessDenied;
    }
    return KeychainStatus::failure;
}

// libsecret keeps one connected service for the process. After a failure it may be talking to
// a daemon that is gone (or to a session the restarted daemon no longer knows), so it is let
// go, and the next call connects anew.
KeychainStatus answer(const Error& error) {
    KeychainStatus status = statusOf(error.get());
    if (status == KeychainStatus::failure) {
        secret_service_disconnect();
    }
    return status;
}

Owned<SecretService> connectService(Error& error) {
    GError* raw = nullptr;
    Owned<SecretService> service(
        secret_service_get_sync(SECRET_SERVICE_OPEN_SESSION, nullptr, &raw));
    error.reset(raw);
    if (service) {
        // The shared session connection ends the process when the bus goes away; here a bus
        // that is gone is one more keychain failure.
        g_dbus_connection_set_exit_on_close(
            g_dbus_proxy_get_connection(G_DBUS_PROXY(service.get())), FALSE);
    } else if (!error) {
        error.reset(g_error_new_literal(SECRET_ERROR, SECRET_ERROR_PROTOCOL, "no service"));
    }
    return service;
}

// Every item of the program that the attributes match, locked or not, in the service's order;
// the secrets of the unlocked ones with them when asked for.
std::vector<Owned<SecretItem>> search(SecretService* service, GHashTable* attributes,
                                      bool withSecrets, Error& error) {
    auto flags = static_cast<SecretSearchFlags>(
        SECRET_SEARCH_ALL | (withSecrets ? SECRET_SEARCH_LOAD_SECRETS : SECRET_SEARCH_NONE));
    GError* raw = nullptr;
    GList* list = secret_service_search_sync(service, &schema(), attributes, flags, nullptr, &raw);
    error.reset(raw);
    std::vector<Owned<SecretItem>> items;
    for (GList* at = list; at != nullptr; at = at->next) {
        items.emplace_back(static_cast<SecretItem*>(at->data));
    }
    g_list_free(list);
    return items;
}

bool anyLocked(const std::vector<Owned<SecretItem>>& items) {
    for (const auto& item : items) {
        if (secret_item_get_locked(item.get()) != FALSE) {
            return true;
        }
    }
    return false;
}

Value valueOf(const std::string& data) {
    return Value(secret_value_new(data.data(), static_cast<gssize>(data.size()),
                                  "application/octet-stream"));
}

// The items a change acts on: all of them (a copy made by another tool included, so that none
// is left behind with old data), and only when none is locked, so a change is never half made.
struct Targets {
    KeychainStatus status = KeychainStatus::success;
    std::vector<Owned<SecretItem>> items;
};

Targets targetsOf(const std::string& application, const KeychainQuery& query) {
    Targets targets;
    Attributes attributes = attributesOf(application, query);
    if (!attributes) {
        targets.status = KeychainStatus::failure;
        return targets;
    }
    Error error;
    auto service = connectService(error);
    if (!service) {
        targets.status = answer(error);
        return targets;
    }
    targets.items = search(service.get(), attributes.get(), false, error);
    if (error) {
        targets.status = answer(error);
    } else if (targets.items.empty()) {
        targets.status = KeychainStatus::itemNotFound;
    } else if (anyLocked(targets.items)) {
        targets.status = KeychainStatus::interactionNotAllowed;
    }
    return targets;
}

}  // namespace secretservice
}  // namespace

ServiceKeychain::State SecretServiceKeychain::state() {
    using namespace secretservice;
    Error error;
    auto service = connectService(error);
    if (!service) {
        answer(error);
        return State::unavailable;
    }
    GError* raw = nullptr;
    // Looked up afresh each time: libsecret's cached collections learn of an unlock only while
    // a GLib loop runs, and this one may not.
    Owned<SecretCollection> collection(secret_collection_for_alias_sync(
        service.get(), SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, nullptr, &raw));
    error.reset(raw);
    if (error) {
        answer(error);
        return State::unavailable;
    }
    if (!collection) {
        return State::unavailable;
    }
    return secret_collection_get_locked(collection.get()) != FALSE ? State::locked : State::usable;
}

KeychainStatus SecretServiceKeychain::copyMatching(const KeychainQuery& query,
                                                   std::optional<std::string>& data) {
    using namespace secretservice;
    Attributes attributes = attributesOf(application_, query);
    if (!attributes) {
        return KeychainStatus::failure;
    }
    Error error;
    auto service = connectService(error);
    if (!service) {
        return answer(error);
    }
    auto items = search(service.get(), attributes.get(), true, error);
    if (error) {
        return answer(error);
    }
    if (items.empty()) {
        return KeychainStatus::itemNotFound;
    }
    for (const auto& item : items) {
        if (secret_item_get_locked(item.get()) != FALSE) {
            continue;
        }
        Value value(secret_item_get_secret(item.get()));
        if (!value) {
            return KeychainStatus::failure;
        }
        gsize length = 0;
        const gchar* bytes = secret_value_get(value.get(), &length);
        data = std::string(bytes, length);
        return KeychainStatus::success;
    }
    return KeychainStatus::interactionNotAllowed;
}

KeychainStatus SecretServiceKeychain::update(const KeychainQuery& query, const std::string& data) {
    using namespace secretservice;
    Targets targets = targetsOf(application_, query);
    if (targets.status != KeychainStatus::success) {
        return targets.status;
    }
    Value value = valueOf(data);
    for (const auto& item : targets.items) {
        GError* raw = nullptr;
        if (secret_item_set_secret_sync(item.get(), value.get(), nullptr, &raw) == FALSE) {
            Error error(raw);
            return answer(error);
        }
    }
    return KeychainStatus::success;
}

KeychainStatus SecretServiceKeychain::remove(const KeychainQuery& query) {
    using namespace secretservice;
    Targets targets = targetsOf(application_, query);
    if (targets.status != KeychainStatus::success) {
        return targets.status;
    }
    for (const auto& item : targets.items) {
        GError* raw = nullptr;
        if (secret_item_delete_sync(item.get(), nullptr, &raw) == FALSE) {
            Error error(raw);
            return answer(error);
        }
    }
    return KeychainStatus::success;
}

KeychainStatus SecretServiceKeychain::add(const KeychainItem& item) {
    using namespace secretservice;
    Attributes attributes = attributesOf(application_, {item.service, item.account});
    if (!attributes) {
        return KeychainStatus::failure;
    }
    Error error;
    auto service = connectService(error);
    if (!service) {
        return answer(error);
    }
    GError* raw = nullptr;
    Owned<SecretCollection> collection(secret_collection_for_alias_sync(
        service.get(), SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, nullptr, &raw));
    error.reset(raw);
    if (error) {
        return answer(error);
    }
    if (!collection) {
        return KeychainStatus::failure;
    }
    if (secret_collection_get_locked(collection.get()) != FALSE) {
        return KeychainStatus::interactionNotAllowed;
    }
    // The service itself would store a second item with the same attributes.
    if (!search(service.get(), attributes.get(), false, error).empty()) {
        return KeychainStatus::duplicateItem;
    }
    if (error) {
        return answer(error);
    }
    std::string label = item.label;
    if (!fitsBus(label)) {
        std::unique_ptr<gchar, decltype(&g_free)> valid(
            g_utf8_make_valid(label.data(), static_cast<gssize>(label.size())), &g_free);
        label = valid.get();
    }
    Value value = valueOf(item.data);
    Owned<SecretItem> created(secret_item_create_sync(collection.get(), &schema(), attributes.get(),
                                                      label.c_str(), value.get(),
                                                      SECRET_ITEM_CREATE_NONE, nullptr, &raw));
    error.reset(raw);
    if (!created) {
        return answer(error);
    }
    return KeychainStatus::success;
}

}  // namespace nimbrel::x11
