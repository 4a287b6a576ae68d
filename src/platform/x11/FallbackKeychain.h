#pragma once

#include <string>
#include <vector>

#include "platform/Keychain.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/x11/FileKeychain.h"
#include "platform/x11/ServiceKeychain.h"

namespace nimbrel::x11 {

// The session's keychain service when it can be used without asking the user, else the private
// file. It looks at start and then again on a call made at least `kLookAgainAfter` seconds after
// the last look, as long as it still uses the file; the first look that finds the service usable
// moves every record of the file into it, and from then on the service answers every call for
// the rest of the run, also when it is locked or gone later: writing to the file then would leave
// two versions of a record in two stores.
//
// A move is all or nothing, and the program sees the records in one store only: each record is
// written to the service and read back, and only when all of them came back the same are they
// taken out of the file, in one replacement of it. Any failure takes back what was written and
// keeps the file in use. A record the service already holds is overwritten with the file's: it
// can only be there from an earlier run that could not reach the file's version, which is newer
// (a move cut short by a crash leaves the same data in both). A file that cannot be read is never
// moved from, so its records are not given up for lost while it waits to be repaired.
class FallbackKeychain final : public Keychain {
  public:
    static constexpr double kLookAgainAfter = 30.0;

    FallbackKeychain(ServiceKeychain& service, FileKeychain& file, MainLoop& loop, Log& log);
    FallbackKeychain(const FallbackKeychain&) = delete;
    FallbackKeychain& operator=(const FallbackKeychain&) = delete;

    KeychainStatus copyMatching(const KeychainQuery& query,
                                std::optional<std::string>& data) override;
    KeychainStatus update(const KeychainQuery& query, const std::string& data) override;
    KeychainStatus add(const KeychainItem& item) override;
    KeychainStatus remove(const KeychainQuery& query) override;

    bool usesService() const { return usesService_; }

  private:
    enum class Look { atStart, later };
    // What a failed move has to put back in the service.
    struct Written {
        KeychainQuery query;
        bool created = false;
        std::string previous;
    };

    Keychain& store();
    void lookForService(Look look);
    bool moveIntoService(const std::vector<KeychainItem>& items);
    void takeBack(const std::vector<Written>& written);
    std::string fileInUse(const std::string& reason) const;

    ServiceKeychain& service_;
    FileKeychain& file_;
    MainLoop& loop_;
    Log& log_;
    bool usesService_ = false;
    bool reportedUnreadable_ = false;
    TimePoint lastLook_ = kDistantPast;
};

}  // namespace nimbrel::x11
