#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "platform/BundledStrings.h"
#include "platform/Localizer.h"
#include "platform/Sound.h"
#include "platform/StoredJson.h"
#include "platform/sim/SimKeyMonitor.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "platform/sim/SimUserDefaults.h"
#include "settings/Persisted.h"
#include "settings/SettingsStore.h"

using namespace nimbrel;
using nimbrel::fuzz::require;

namespace {

class SilentSound final : public Sound {
  public:
    void beep() override {}
};

// What a store needs besides its defaults; built once, since the string tables take a while.
struct Environment {
    BundledStrings english;
    Localizer strings{&english};
    SilentSound sound;
    sim::SimKeyMonitor keyMonitor;
    sim::SimKeyboardLayout layout;

    std::unique_ptr<SettingsStore> storeOver(UserDefaults& defaults) {
        return std::make_unique<SettingsStore>(
            SettingsStore::Services{defaults, strings, sound, keyMonitor, layout});
    }
};

}  // namespace

// The settings document as found under "settings.v1" at launch.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Environment environment;
    std::string bytes(reinterpret_cast<const char*>(data), size);

    auto json = parseStoredJson(bytes);
    auto document = json ? Persisted::decode(*json) : std::nullopt;
    if (document) {
        require(Persisted::decode(document->encode()) == document,
                "an encoded document decodes to itself");
    }

    sim::SimUserDefaults defaults;
    defaults.setData(SettingsStore::kDefaultsKey, bytes);
    environment.storeOver(defaults)->save();
    require(document.has_value() != defaults.contains(SettingsStore::kUnreadableKey),
            "exactly the unreadable documents are kept aside");
    if (!document) {
        require(defaults.data(SettingsStore::kUnreadableKey) == bytes,
                "the kept copy is the stored bytes");
    }
    // What the store writes, a second store reads and writes again unchanged.
    auto written = defaults.data(SettingsStore::kDefaultsKey);
    require(written.has_value(), "the store writes its document");
    environment.storeOver(defaults)->save();
    require(defaults.data(SettingsStore::kDefaultsKey) == written, "nothing drifts on a reload");
    return 0;
}
