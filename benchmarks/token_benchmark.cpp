// Token-level costs: the RSA operation alone (the floor every token pays), whole tokens through
// SdkCore for each kind of request, on one thread and on two sharing one SdkCore, and the import
// of a key text that no cache holds.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench_keys.hpp"
#include "cryptogram/rsa_public_key.hpp"
#include "sdkcore/log_interface.hpp"
#include "sdkcore/logger.hpp"
#include "sdkcore/sdk_core.hpp"

namespace sdkcore::bench {
namespace {

constexpr double kTimestamp = 1700000000.0;

// One 120-byte encryption with a key imported once and a context prepared once per thread.
void floorBenchmark(benchmark::State& state) {
  const openssl::PkeyCtxPtr context = preparedEncryptContext(benchKey().key.get());
  std::vector<unsigned char> out(256);
  const auto* in = reinterpret_cast<const unsigned char*>(kPaymentString.data());
  for (auto _ : state) {
    std::size_t size = out.size();
    if (EVP_PKEY_encrypt(context.get(), out.data(), &size, in, kPaymentString.size()) != 1) {
      state.SkipWithError("encryption failed");
      break;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(floorBenchmark)->Name("floor")->UseRealTime();
BENCHMARK(floorBenchmark)->Name("floor")->Threads(2)->UseRealTime();

SDKCoreConfig cardRequest(std::string pan) {
  return SDKCoreConfig(
      CardParams(std::move(pan), "123", "12/30", "JOHN DOE", "ORDER-12345", benchKey().pem),
      ZKITRegisteredFrom::ZKIT_CORE, kTimestamp);
}

SdkCore& sharedCore() {
  static SdkCore core;
  return core;
}

// Runs 'config' through one SdkCore shared by all threads; 'expectToken' says whether the
// request must give a token, so a benchmark cannot silently measure the wrong path.
void runTokens(benchmark::State& state, const SDKCoreConfig& config, bool expectToken,
               bool logged) {
  if (!logged && Logger::shared().hasLogInterfaces()) {
    state.SkipWithError("a log sink is attached");
    return;
  }
  SdkCore& core = sharedCore();
  if (core.generateWithConfig(config).token.has_value() != expectToken) {
    state.SkipWithError("the request does not give the expected result");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(core.generateWithConfig(config));
  state.SetItemsProcessed(state.iterations());
}

void tokenCard(benchmark::State& state) {
  static const SDKCoreConfig config = cardRequest("4111111111111111");
  runTokens(state, config, true, false);
}
BENCHMARK(tokenCard)->Name("token_card")->UseRealTime();
BENCHMARK(tokenCard)->Name("token_card")->Threads(2)->UseRealTime();

void tokenStored(benchmark::State& state) {
  static const SDKCoreConfig config(
      StoredPaymentMethodParams(benchKey().pem, "pm_3WhDgViUq4", "123"),
      ZKITRegisteredFrom::ZKIT_CORE, kTimestamp);
  runTokens(state, config, true, false);
}
BENCHMARK(tokenStored)->Name("token_stored")->UseRealTime();

// Every field is well formed and the card number fails only its Luhn check, so every rule up to
// the last one of the card number runs, and nothing is encrypted.
void tokenInvalid(benchmark::State& state) {
  static const SDKCoreConfig config = cardRequest("4111111111111112");
  runTokens(state, config, false, false);
}
BENCHMARK(tokenInvalid)->Name("token_invalid")->UseRealTime();

// The cold path of a new merchant key: key text to a key ready to encrypt, with no cache.
void keyImport(benchmark::State& state) {
  static const std::vector<std::string> texts = distinctKeyTexts(64);
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RsaPublicKey::importText(texts[next++ % texts.size()]));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(keyImport)->Name("key_import")->UseRealTime();

class DiscardingSink final : public LogInterface {
 public:
  void log(const std::type_info&, const std::string&, const std::string& message,
           std::shared_ptr<const std::exception>) override {
    benchmark::DoNotOptimize(message.data());
  }
};

// The sink is attached for this benchmark's runs only: with a sink attached, every request
// builds its log messages.
void tokenCardLogged(benchmark::State& state) {
  static const SDKCoreConfig config = cardRequest("4111111111111111");
  const auto sink = std::make_shared<DiscardingSink>();
  Logger::shared().addLogInterface(sink);
  runTokens(state, config, true, true);
  Logger::shared().removeLogInterface(sink);
}
BENCHMARK(tokenCardLogged)->Name("token_card_logged")->UseRealTime();

}  // namespace
}  // namespace sdkcore::bench
