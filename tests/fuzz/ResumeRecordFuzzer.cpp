#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "app/update/UpdateResume.h"
#include "platform/StoredJson.h"
#include "platform/sim/SimUserDefaults.h"

using nimbrel::UpdateResume;
using nimbrel::fuzz::require;

// The resume record as the previous process, or anyone else, left it under "resume.v1".
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    nimbrel::sim::SimUserDefaults defaults;
    defaults.setData("resume.v1", bytes);
    (void)UpdateResume::take(defaults, 0);
    require(!defaults.contains("resume.v1"), "a record is read once");

    auto json = nimbrel::parseStoredJson(bytes);
    auto record = json ? UpdateResume::fromJson(*json) : std::nullopt;
    if (!record) {
        return 0;
    }
    require(std::isfinite(record->savedAt), "a decoded date is finite");
    for (const auto& region : record->regions) {
        require(region.rect.width >= 0 && region.rect.height >= 0, "no region has a negative size");
    }
    // Written and taken back at the moment it was saved, it is the same record.
    record->save(defaults);
    auto taken = UpdateResume::take(defaults, record->savedAt);
    require(taken.has_value(), "a written record is taken back");
    require(taken->toJson() == record->toJson(), "a written record reads back the same");
    return 0;
}
