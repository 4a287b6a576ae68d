#include "protection/AccessProtection.h"

#include "protection/OpenSslPasswordCrypto.h"

namespace nimbrel {

AccessProtection::AccessProtection(const ProtectionServices& services,
                                   std::unique_ptr<PasswordCrypto> crypto)
    : crypto_(crypto ? std::move(crypto) : std::make_unique<OpenSslPasswordCrypto>()),
      storage_(services.keychain, KeychainStorage::serviceFor(services.bundleIdentifier)),
      password_(storage_, services.defaults, *crypto_),
      panel_(services.alerts, services.application, services.strings, services.noticeScreen),
      prompt_(password_, panel_, services.sound, services.loop, services.strings, services.locale),
      auth_(password_, prompt_, services.localAuthentication, services.loop, services.strings),
      dialog_(password_, auth_, panel_, services.sound, services.strings) {}

}  // namespace nimbrel
