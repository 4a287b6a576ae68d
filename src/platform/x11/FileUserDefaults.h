#pragma once

#include <string>

#include "platform/Log.h"
#include "platform/UserDefaults.h"
#include "platform/x11/PrivateFile.h"

namespace nimbrel::x11 {

// The user's defaults as one JSON document in a private file (under the XDG configuration
// folder), rewritten whole and atomically on every change. Data that is UTF-8 text is kept as a
// string, so that the stored documents stay readable; other bytes are kept in base64.
//
// A file that cannot be read as such a document is kept aside under a name of its own and the
// store starts empty; it is never silently written over. When the file cannot be read at all (its
// permissions, the disk), changes last for this run only and the file is never written, so a
// passing fault cannot wipe the user's settings.
class FileUserDefaults final : public UserDefaults {
  public:
    FileUserDefaults(PrivateFile file, Log& log);

    std::optional<std::string> data(std::string_view key) override;
    void setData(std::string_view key, const std::string& bytes) override;
    std::optional<Json> value(std::string_view key) override;
    void setValue(std::string_view key, const Json& value) override;
    void remove(std::string_view key) override;

  private:
    void load();
    void save();

    PrivateFile file_;
    Log& log_;
    Json entries_ = Json::object();
    bool usable_ = false;
};

}  // namespace nimbrel::x11
