#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestCrypto.h"
#include "platform/Application.h"
#include "platform/Localizer.h"
#include "platform/Sound.h"
#include "platform/sim/SimAlerts.h"
#include "platform/sim/SimEventLog.h"
#include "platform/sim/SimKeychain.h"
#include "platform/sim/SimLocalAuthentication.h"
#include "platform/sim/SimMainLoop.h"
#include "platform/sim/SimUserDefaults.h"
#include "protection/AccessProtection.h"

namespace nimbrel::test {

class EventSound final : public Sound {
  public:
    explicit EventSound(sim::SimEventLog& events) : events_(events) {}
    void beep() override { events_.emit("beep"); }

  private:
    sim::SimEventLog& events_;
};

class CountingApplication final : public Application {
  public:
    void setActivationPolicy(ActivationPolicy policy) override { policy_ = policy; }
    ActivationPolicy activationPolicy() override { return policy_; }
    void activateIgnoringOtherApps() override { ++activations; }
    void replyToApplicationShouldTerminate(bool) override {}
    int activations = 0;

  private:
    ActivationPolicy policy_ = ActivationPolicy::accessory;
};

// The protection components on a simulated desktop, with texts in the keys language so that every
// alert reads as its keys: {password.title}, {common.ok}.
class ProtectionFixture : public ::testing::Test {
  protected:
    ProtectionFixture() { rebuild(); }

    // A fresh process over the same keychain and defaults.
    void rebuild() {
        protection.reset();
        auto owned = std::make_unique<TestCrypto>();
        crypto = owned.get();
        protection =
            std::make_unique<AccessProtection>(ProtectionServices{keychain,
                                                                  localAuth,
                                                                  alerts,
                                                                  defaults,
                                                                  application,
                                                                  sound,
                                                                  loop,
                                                                  strings,
                                                                  std::string("com.plovek.nimbrel"),
                                                                  {},
                                                                  "en"},
                                               std::move(owned));
    }

    AppPassword& password() { return protection->password(); }
    Auth& auth() { return protection->auth(); }
    KeychainQuery item() const { return {"com.plovek.nimbrel.appPassword", "record"}; }
    std::optional<PasswordRecord> stored() { return protection->storage().load(); }
    void store(const PasswordRecord& record) { protection->storage().save(record); }

    // Event lines since the last call.
    std::vector<std::string> takeEvents() {
        auto lines = events.lines();
        events.clear();
        return lines;
    }

    sim::SimMainLoop loop;
    sim::SimEventLog events;
    sim::SimKeychain keychain;
    sim::SimUserDefaults defaults;
    sim::SimAlerts alerts{events};
    sim::SimLocalAuthentication localAuth{loop};
    EventSound sound{events};
    CountingApplication application;
    Localizer strings{nullptr};
    TestCrypto* crypto = nullptr;
    std::unique_ptr<AccessProtection> protection;
};

}  // namespace nimbrel::test
