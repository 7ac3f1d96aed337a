#include "cryptogram/random_bytes.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <new>
#include <optional>

#include "base/wiped_text.hpp"
#include "cryptogram/fork_generation.hpp"

#if defined(__APPLE__)
#include <cstdlib>
#elif defined(__linux__) || defined(__ANDROID__)
#include <fcntl.h>
#include <sys/random.h>
#include <sys/syscall.h>
#endif

namespace sdkcore {
namespace {

#if defined(__APPLE__)
// Never fails, and is already fork-safe and cheap: it keeps its own state in the process.
void drawFromGenerator(std::span<std::uint8_t> out) { arc4random_buf(out.data(), out.size()); }
#else
[[noreturn]] void failToSupply() {
  throw RandomSourceError("random generator failed to supply bytes");
}

#if defined(__linux__) || defined(__ANDROID__)
ssize_t getrandomCall(std::span<std::uint8_t> out) noexcept {
#if defined(__ANDROID__) && __ANDROID_API__ < 28
  // Bionic declares getrandom() only from API level 28 on; the system call is older.
  return syscall(__NR_getrandom, out.data(), out.size(), 0);
#else
  return getrandom(out.data(), out.size(), 0);
#endif
}

// The kernel's generator through its device, for kernels older than getrandom() (3.17) and
// sandboxes that filter the system call out.
void drawFromDevice(std::span<std::uint8_t> out) {
  const int device = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (device < 0) failToSupply();
  while (!out.empty()) {
    const ssize_t count = read(device, out.data(), out.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    out = out.subspan(static_cast<std::size_t>(count));
  }
  close(device);
  if (!out.empty()) failToSupply();
}

// getrandom() blocks only until the kernel's pool is first seeded, and returns at most 32 MiB per
// call.
void drawFromGenerator(std::span<std::uint8_t> out) {
  while (!out.empty()) {
    const ssize_t count = getrandomCall(out);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && errno == ENOSYS) return drawFromDevice(out);
    if (count <= 0) failToSupply();
    out = out.subspan(static_cast<std::size_t>(count));
  }
}
#else
// getentropy() hands out at most 256 bytes per call.
void drawFromGenerator(std::span<std::uint8_t> out) {
  constexpr std::size_t kMaxPerCall = 256;
  while (!out.empty()) {
    const std::size_t count = std::min(out.size(), kMaxPerCall);
    if (getentropy(out.data(), count) != 0) {
      if (errno == EINTR) continue;
      failToSupply();
    }
    out = out.subspan(count);
  }
}
#endif
#endif

// One page of random bytes for one thread: a count of the bytes left, then the bytes. The page
// is marked to be zeroed in a child after fork(), which makes the count 0 there; the fork
// generation the bytes were drawn in is checked too, for where that mark is silently ignored.
class ThreadRandomBuffer {
 public:
  ThreadRandomBuffer() noexcept {
#ifdef MADV_WIPEONFORK
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize <= static_cast<long>(sizeof(std::size_t))) return;
    void* page = mmap(nullptr, static_cast<std::size_t>(pageSize), PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) return;
    if (madvise(page, static_cast<std::size_t>(pageSize), MADV_WIPEONFORK) != 0) {
      munmap(page, static_cast<std::size_t>(pageSize));
      return;
    }
    pageSize_ = static_cast<std::size_t>(pageSize);
    remaining_ = new (page) std::size_t(0);
    bytes_ = static_cast<std::uint8_t*>(page) + sizeof(std::size_t);
#endif
  }

  ~ThreadRandomBuffer() {
    if (!remaining_) return;
    wipeBytes(remaining_, pageSize_);
    munmap(remaining_, pageSize_);
  }

  ThreadRandomBuffer(const ThreadRandomBuffer&) = delete;
  ThreadRandomBuffer& operator=(const ThreadRandomBuffer&) = delete;

  void draw(std::span<std::uint8_t> out) {
    const std::size_t capacity = pageSize_ - sizeof(std::size_t);
    const std::optional<std::uint64_t> generation = forkGeneration();
    if (!remaining_ || !generation || out.size() > capacity) return drawFromGenerator(out);
    if (*remaining_ < out.size() || *generation != generation_) {
      *remaining_ = 0;
      drawFromGenerator({bytes_, capacity});
      *remaining_ = capacity;
      generation_ = *generation;
    }
    std::uint8_t* next = bytes_ + (capacity - *remaining_);
    std::memcpy(out.data(), next, out.size());
    wipeBytes(next, out.size());
    *remaining_ -= out.size();
  }

 private:
  std::size_t pageSize_ = 0;
  std::size_t* remaining_ = nullptr;  // the start of the page; null when unbuffered
  std::uint8_t* bytes_ = nullptr;
  std::uint64_t generation_ = 0;  // the fork generation the buffered bytes were drawn in
};

}  // namespace

void randomBytes(std::span<std::uint8_t> out) {
  thread_local ThreadRandomBuffer buffer;
  buffer.draw(out);
}

}  // namespace sdkcore
