#pragma once

#include <functional>
#include <string>

// Runs a piece of work in a child process and measures what it costs, for tests that bound the
// time and memory a call may take.
namespace sdkcore::testing {

// 'count' natively; a tenth of it (at least 1) under an emulator, where threads and private-key
// operations run tens of times slower. For the iteration counts of threaded tests.
constexpr int scaledForEmulator(int count) {
#ifdef SDKCORE_TEST_EMULATED
  return count / 10 > 0 ? count / 10 : 1;
#else
  return count;
#endif
}

// True when time and memory bounds mean something in this build: it is optimised, not
// instrumented by a sanitizer, which multiplies both, and not run under an emulator. Tests still
// check every answer otherwise.
bool resourceBoundsApply();

struct ResourceUse {
  std::string answer;  // what the work returned, or "<died: ...>" when the child died
  double cpuMs = 0;    // CPU time of the work (the machine's load does not count)
  double peakMb = 0;   // how far the peak resident memory grew during the work
};

// Forks; the child calls 'prepare', which sets the work up (inputs, log sinks) unmeasured, then
// runs and measures the work it returns. The child's state, sinks included, ends with it.
ResourceUse measureInChild(const std::function<std::function<std::string()>()>& prepare);

}  // namespace sdkcore::testing
