#pragma once

#include <optional>

#include "protection/PasswordRecord.h"

namespace nimbrel {

// Where the password record is kept. Nothing is reported: a failed save leaves what was stored
// before, and any failure to read, or a stored value that is not a record, loads as no record.
class PasswordStorage {
  public:
    virtual ~PasswordStorage() = default;
    virtual std::optional<PasswordRecord> load() = 0;
    virtual void save(const PasswordRecord& record) = 0;
    // False when the record could not be removed (it is still there); absent counts as removed.
    virtual bool remove() = 0;
};

}  // namespace nimbrel
