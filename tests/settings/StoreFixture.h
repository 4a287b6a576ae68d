#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/BundledStrings.h"
#include "platform/Localizer.h"
#include "platform/Sound.h"
#include "platform/sim/SimKeyMonitor.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "platform/sim/SimUserDefaults.h"
#include "settings/SettingsStore.h"

namespace nimbrel::test {

class CountingSound final : public Sound {
  public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

// Answers authentication requests with queued outcomes (refusing when none is queued) and keeps
// the reasons it was asked with.
class ScriptedAuth {
  public:
    void next(bool outcome) { outcomes_.push_back(outcome); }
    SettingsStore::Authenticate gate() {
        return [this](const std::string& reason, SettingsStore::Completion completion) {
            reasons.push_back(reason);
            bool outcome = !outcomes_.empty() && outcomes_.front();
            if (!outcomes_.empty()) {
                outcomes_.pop_front();
            }
            completion(outcome);
        };
    }
    std::vector<std::string> reasons;

  private:
    std::deque<bool> outcomes_;
};

// A store over simulated defaults, English texts and a US keyboard; ids are handed out in order so
// documents are predictable.
class StoreFixture : public ::testing::Test {
  protected:
    std::unique_ptr<SettingsStore> makeStore() { return makeStore(strings); }
    std::unique_ptr<SettingsStore> makeStore(const Localizer& texts) {
        SettingsStore::Services services{defaults, texts, sound, keyMonitor, layout};
        services.authenticate = auth.gate();
        services.makeId = [this] {
            Uuid id;
            id.bytes[15] = static_cast<std::uint8_t>(++issued);
            return id;
        };
        return std::make_unique<SettingsStore>(std::move(services));
    }

    void storeDocument(const Json& document) {
        defaults.setData(SettingsStore::kDefaultsKey, document.dump());
    }
    Json storedDocument() {
        auto bytes = defaults.data(SettingsStore::kDefaultsKey);
        return bytes ? Json::parse(*bytes, nullptr, false) : Json();
    }
    // Types a key into the program's own window while a monitor watches.
    bool press(std::uint32_t keyCode, EventModifierFlags flags = 0) {
        return keyMonitor.deliverKeyDown(KeyEvent{keyCode, flags, false});
    }

    sim::SimUserDefaults defaults;
    BundledStrings english;
    Localizer strings{&english};
    CountingSound sound;
    sim::SimKeyMonitor keyMonitor;
    sim::SimKeyboardLayout layout;
    ScriptedAuth auth;
    int issued = 0;
};

inline constexpr std::uint32_t kCmd = KeyCombo::kCommand;
inline constexpr std::uint32_t kShift = KeyCombo::kShift;
inline constexpr std::uint32_t kOpt = KeyCombo::kOption;
inline constexpr std::uint32_t kCtrl = KeyCombo::kControl;

inline Json comboJson(std::uint32_t keyCode, std::uint32_t modifiers) {
    return Json{{"keyCode", keyCode}, {"modifiers", modifiers}};
}

inline Json bindingJson(const std::string& id, const std::string& appName, const std::string& title,
                        std::optional<KeyCombo> combo = std::nullopt) {
    Json b{{"id", id}, {"appName", appName}, {"title", title}, {"locked", false}};
    if (combo) {
        b["combo"] = combo->toJson();
    }
    return b;
}

}  // namespace nimbrel::test
