#include "platform/x11/FileUserDefaults.h"

#include "platform/StoredJson.h"
#include "platform/x11/Base64.h"

#include <unicode/ustring.h>

namespace nimbrel::x11 {
namespace {

// The three shapes an entry takes; an entry of any other shape (written by a later version)
// is kept as it is and reads as absent.
constexpr const char* kText = "text";
constexpr const char* kBase64 = "base64";
constexpr const char* kValue = "value";

bool isUtf8(const std::string& bytes) {
    UErrorCode error = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &error);
    return error == U_BUFFER_OVERFLOW_ERROR || error == U_STRING_NOT_TERMINATED_WARNING ||
           U_SUCCESS(error);
}

}  // namespace

FileUserDefaults::FileUserDefaults(PrivateFile file, Log& log) : file_(std::move(file)), log_(log) {
    load();
}

void FileUserDefaults::load() {
    auto contents = file_.read();
    if (contents.status == PrivateFile::ReadStatus::absent) {
        usable_ = true;
        return;
    }
    if (contents.status == PrivateFile::ReadStatus::failed) {
        log_.log("defaults: cannot read " + file_.path().string() + "; nothing will be saved");
        return;
    }
    auto parsed = parseStoredJson(contents.bytes);
    if (parsed && parsed->is_object()) {
        entries_ = std::move(*parsed);
        usable_ = true;
        return;
    }
    auto aside = file_.keepAside();
    if (!aside) {
        log_.log("defaults: " + file_.path().string() +
                 " is damaged and cannot be moved aside; nothing will be saved");
        return;
    }
    log_.log("defaults: " + file_.path().string() + " was damaged and is kept as " +
             aside->string());
    usable_ = true;
}

void FileUserDefaults::save() {
    if (!usable_) {
        return;
    }
    if (!file_.writeAtomically(entries_.dump(2, ' ', false, Json::error_handler_t::replace) +
                               "\n")) {
        log_.log("defaults: cannot write " + file_.path().string());
    }
}

std::optional<std::string> FileUserDefaults::data(std::string_view key) {
    auto it = entries_.find(key);
    if (it == entries_.end() || !it->is_object()) {
        return std::nullopt;
    }
    if (auto text = it->find(kText); text != it->end() && text->is_string()) {
        return text->get<std::string>();
    }
    if (auto encoded = it->find(kBase64); encoded != it->end() && encoded->is_string()) {
        return fromBase64(encoded->get<std::string>());
    }
    return std::nullopt;
}

void FileUserDefaults::setData(std::string_view key, const std::string& bytes) {
    Json entry = Json::object();
    if (isUtf8(bytes)) {
        entry[kText] = bytes;
    } else {
        entry[kBase64] = toBase64(bytes);
    }
    entries_[std::string(key)] = std::move(entry);
    save();
}

std::optional<Json> FileUserDefaults::value(std::string_view key) {
    auto it = entries_.find(key);
    if (it == entries_.end() || !it->is_object()) {
        return std::nullopt;
    }
    if (auto value = it->find(kValue); value != it->end()) {
        return *value;
    }
    return std::nullopt;
}

void FileUserDefaults::setValue(std::string_view key, const Json& value) {
    entries_[std::string(key)] = Json{{kValue, value}};
    save();
}

void FileUserDefaults::remove(std::string_view key) {
    auto it = entries_.find(key);
    if (it != entries_.end()) {
        entries_.erase(it);
        save();
    }
}

}  // namespace nimbrel::x11
