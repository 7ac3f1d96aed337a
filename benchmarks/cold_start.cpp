// The cold start of a host: a fresh process that makes the core and two card tokens, as an app's
// first payment does. Prints the wall time of each step; scripts/cold_start.sh runs it under
// callgrind and counts the instructions of main().
// Usage: sdkcore_cold_start PUBLIC_KEY_PEM_FILE

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "sdkcore/sdkcore.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double microseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::micro>(to - from).count();
}

bool makeToken(sdkcore::SdkCore& core, const std::string& pem) {
  const sdkcore::SDKCoreConfig config(
      sdkcore::CardParams("4111111111111111", "123", "12/30", "JOHN DOE", "ORDER-1", pem),
      sdkcore::ZKITRegisteredFrom::ZKIT_CORE, 1700000000.0);
  return core.generateWithConfig(config).token.has_value();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sdkcore_cold_start PUBLIC_KEY_PEM_FILE\n");
    return 2;
  }
  std::ifstream file(argv[1]);
  const std::string pem{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const Clock::time_point start = Clock::now();
  sdkcore::SdkCore core;
  const Clock::time_point made = Clock::now();
  const bool first = makeToken(core, pem);
  const Clock::time_point firstDone = Clock::now();
  const bool second = makeToken(core, pem);
  const Clock::time_point secondDone = Clock::now();
  std::printf("constructor %.1f us, first token %.1f us, second token %.1f us\n",
              microseconds(start, made), microseconds(made, firstDone),
              microseconds(firstDone, secondDone));
  return first && second ? 0 : 1;
}
