// The strict JSON request reader that the sdkcore program and the C interface share: it yields a
// configuration or throws JsonInputError with a one-line message, nothing else. It accepts a text
// only when nlohmann reads it too, to a request of the right shape nested at most 64 levels deep,
// and it accepts every such request once written without duplicate members. What it yields asks
// for exactly what the JSON says: its token decrypts to those fields, or it gets exactly one
// error.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string_view>
#include <typeinfo>

#include <nlohmann/json.hpp>

#include "fuzz_support.hpp"
#include "json/strict_json.hpp"
#include "request_oracle.hpp"
#include "sdkcore/sdk_core.hpp"
#include "sdkcore/token_request.hpp"

namespace {

using namespace sdkcore;

struct Reading {
  std::optional<SDKCoreConfig> config;
  int defaultKeyUses = 0;
};

// The defaults of the sdkcore program (a demo key), of a caller's key that replaces the
// request's, and of the C interface (the request's own key), each with its own source and time.
TokenRequestDefaults defaultsFor(std::size_t kind, int* defaultKeyUses) {
  TokenRequestDefaults defaults;
  defaults.registeredFrom = static_cast<ZKITRegisteredFrom>(kind % 3);
  defaults.timestamp = 1'700'000'000.0 + static_cast<double>(kind % 3) * 1e8;
  if (kind % 3 == 0) defaults.defaultPubKey = fuzzing::demoPublicKey();
  if (kind % 3 == 1) defaults.pubKeyOverride = fuzzing::demoPublicKey();
  defaults.onDefaultPubKeyUsed = [defaultKeyUses] { ++*defaultKeyUses; };
  return defaults;
}

Reading read(std::string_view text, std::size_t kind) {
  Reading reading;
  try {
    reading.config.emplace(
        tokenRequestFromJsonText(text, defaultsFor(kind, &reading.defaultKeyUses)));
  } catch (const JsonInputError& error) {
    const std::string_view message = error.what();
    SDKCORE_FUZZ_CHECK(!message.empty() && message.find('\n') == std::string_view::npos);
    SDKCORE_FUZZ_CHECK(fuzzing::isUtf8(message));
    SDKCORE_FUZZ_CHECK(reading.defaultKeyUses == 0);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "unexpected %s: %s\n", typeid(error).name(), error.what());
    SDKCORE_FUZZ_CHECK(false);
  }
  return reading;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::useUtc();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SdkCore core;
  const std::string_view text = fuzzing::textOf(data, size);
  const std::size_t kind = size;
  const Reading reading = read(text, kind);

  const auto lax = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
  std::optional<fuzzing::ExpectedRequest> expected;
  if (!lax.is_discarded() && fuzzing::nestingDepth(lax) <= kMaxJsonDepth) {
    int unused = 0;
    expected = fuzzing::expectedRequest(lax, defaultsFor(kind, &unused));
    SDKCORE_FUZZ_CHECK(read(lax.dump(), kind).config.has_value() == expected.has_value());
  }
  if (!reading.config) return 0;
  SDKCORE_FUZZ_CHECK(expected.has_value());
  SDKCORE_FUZZ_CHECK(reading.defaultKeyUses == (expected->usesDefaultPubKey ? 1 : 0));

  const TokenResult result = core.generateWithConfig(*reading.config);
  if (result.token) {
    SDKCORE_FUZZ_CHECK(result.errors.empty());
    fuzzing::checkToken(*result.token, *expected);
  } else {
    SDKCORE_FUZZ_CHECK(result.errors.size() == 1);
  }
  return 0;
}
