// The cost of one token through the C interface's typed path, building the request included,
// against SdkCore::generateWithConfig on the same request. The demo key's path is passed as
// SDKCORE_DEMO_PUBLIC_KEY. The "iterations:" variants run a fixed count, for instruction counts
// under callgrind: the difference of two counts divided by the difference of iterations is the
// cost of one token without the one-time setup.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "sdkcore/sdk_core.hpp"
#include "sdkcore/sdkcore.h"

namespace {

const std::string& publicKey() {
  static const std::string pem = [] {
    std::ifstream file(SDKCORE_DEMO_PUBLIC_KEY, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (text.str().empty()) throw std::runtime_error("cannot read " SDKCORE_DEMO_PUBLIC_KEY);
    return text.str();
  }();
  return pem;
}

constexpr std::string_view kPan = "4111111111111111";
constexpr std::string_view kCvc = "123";
constexpr std::string_view kExpiry = "12/30";
constexpr std::string_view kCardholder = "JOHN DOE";
constexpr std::string_view kOrder = "ORDER-1";
constexpr double kTimestamp = 1700000000.0;

sdkcore::SDKCoreConfig cppConfig() {
  return sdkcore::SDKCoreConfig(
      sdkcore::CardParams(std::string(kPan), std::string(kCvc), std::string(kExpiry),
                          std::string(kCardholder), std::string(kOrder), publicKey()),
      sdkcore::ZKITRegisteredFrom::ZKIT_CORE, kTimestamp);
}

void setText(sdkcore_request* request, int field, std::string_view text) {
  sdkcore_request_set_text(request, field, text.data(), text.size());
}

// One token through the typed path: request, fields, token, and everything freed.
std::size_t typedPathToken(sdkcore_core* core) {
  sdkcore_request* request = nullptr;
  sdkcore_token_result* result = nullptr;
  sdkcore_request_new(SDKCORE_VARIANT_CARD_PARAMS, &request);
  setText(request, SDKCORE_FIELD_PAN, kPan);
  setText(request, SDKCORE_FIELD_CVC, kCvc);
  setText(request, SDKCORE_FIELD_EXPIRY_MMYY, kExpiry);
  setText(request, SDKCORE_FIELD_CARDHOLDER, kCardholder);
  setText(request, SDKCORE_FIELD_MD_ORDER, kOrder);
  setText(request, SDKCORE_FIELD_PUB_KEY, publicKey());
  sdkcore_request_set_timestamp(request, kTimestamp);
  sdkcore_generate_token(core, request, &result);
  const char* token = nullptr;
  size_t length = 0;
  sdkcore_token_result_token(result, &token, &length);
  sdkcore_token_result_free(result);
  sdkcore_request_free(request);
  if (token == nullptr) throw std::runtime_error("no token");
  return length;
}

void BM_GenerateWithConfig(benchmark::State& state) {
  sdkcore::SdkCore core;
  const sdkcore::SDKCoreConfig config = cppConfig();
  for (auto _ : state) {
    sdkcore::TokenResult result = core.generateWithConfig(config);
    if (!result.token) throw std::runtime_error("no token");
    benchmark::DoNotOptimize(result);
  }
}

void BM_GenerateWithConfigBuildingTheConfig(benchmark::State& state) {
  sdkcore::SdkCore core;
  for (auto _ : state) {
    sdkcore::TokenResult result = core.generateWithConfig(cppConfig());
    if (!result.token) throw std::runtime_error("no token");
    benchmark::DoNotOptimize(result);
  }
}

void BM_CTypedPath(benchmark::State& state) {
  sdkcore_core* core = nullptr;
  sdkcore_core_new(&core);
  for (auto _ : state) benchmark::DoNotOptimize(typedPathToken(core));
  sdkcore_core_free(core);
}

}  // namespace

BENCHMARK(BM_GenerateWithConfig);
BENCHMARK(BM_GenerateWithConfigBuildingTheConfig);
BENCHMARK(BM_CTypedPath);
BENCHMARK(BM_GenerateWithConfig)->Iterations(50);
BENCHMARK(BM_GenerateWithConfig)->Iterations(250);
BENCHMARK(BM_CTypedPath)->Iterations(50);
BENCHMARK(BM_CTypedPath)->Iterations(250);
