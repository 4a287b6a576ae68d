// One password derivation at the scheme's cost, through the program's own code path and through
// OpenSSL directly with the same parameters: the ratio shows what the program adds.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <string>

#include "platform/sim/SimKeychain.h"
#include "platform/sim/SimUserDefaults.h"
#include "protection/AppPassword.h"
#include "protection/KeychainStorage.h"
#include "protection/OpenSslPasswordCrypto.h"

namespace {

using nimbrel::AppPassword;
using nimbrel::Bytes;

const std::string kPassword = "violet harbour 31";

// check(): load the record, derive, compare, store the reset count.
void BM_AppPasswordCheck(benchmark::State& state) {
    nimbrel::sim::SimKeychain keychain;
    nimbrel::sim::SimUserDefaults defaults;
    nimbrel::OpenSslPasswordCrypto crypto;
    nimbrel::KeychainStorage storage(keychain, "bench.appPassword");
    AppPassword password(storage, defaults, crypto);
    if (!password.set(kPassword)) {
        state.SkipWithError("set failed");
        return;
    }
    for (auto _ : state) {
        auto result = password.check(kPassword, 0);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_AppPasswordCheck)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The derivation through the program's crypto seam alone.
void BM_ProgramDerivation(benchmark::State& state) {
    nimbrel::OpenSslPasswordCrypto crypto;
    Bytes salt(AppPassword::kSaltLength, 0x42);
    Bytes out(AppPassword::kHashLength, 0);
    for (auto _ : state) {
        bool ok = crypto.deriveKey(kPassword, salt, AppPassword::kCurrentRounds, out);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ProgramDerivation)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_OpenSslDirect(benchmark::State& state) {
    Bytes salt(AppPassword::kSaltLength, 0x42);
    Bytes out(AppPassword::kHashLength, 0);
    for (auto _ : state) {
        int ok = PKCS5_PBKDF2_HMAC(kPassword.data(), int(kPassword.size()), salt.data(),
                                   int(salt.size()), int(AppPassword::kCurrentRounds), EVP_sha256(),
                                   int(out.size()), out.data());
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_OpenSslDirect)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
