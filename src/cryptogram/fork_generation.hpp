#pragma once

#include <cstdint>
#include <optional>

namespace sdkcore {

// How many fork() calls lie between this process and the one that first asked: it changes in a
// child process, so buffered random bytes can be tied to the process that drew them. Counted by a
// pthread_atfork() handler, which also works where the kernel's MADV_WIPEONFORK is not honoured
// (user-mode emulators accept it and do nothing). Absent when the handler could not be
// registered; callers then must not reuse buffered bytes at all. Thread-safe.
std::optional<std::uint64_t> forkGeneration() noexcept;

}  // namespace sdkcore
