#include "cryptogram/random_bytes.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <new>
#include <optional>

#include "base/wiped_text.hpp"
#include "cryptogram/fork_generation.hpp"

#if SDKCORE_WITH_OPENSSL
#include <openssl/rand.h>
#else
#include <sys/random.h>

#include <cerrno>
#endif

namespace sdkcore {
namespace {

#if SDKCORE_WITH_OPENSSL
void drawFromGenerator(std::span<std::uint8_t> out) {
  // RAND_bytes takes an int count.
  while (!out.empty()) {
    const std::size_t count = std::min<std::size_t>(out.size(), INT_MAX);
    if (RAND_bytes(out.data(), static_cast<int>(count)) != 1) {
      throw RandomSourceError("random generator failed to supply bytes");
    }
    out = out.subspan(count);
  }
}
#else
// The operating system's generator: getrandom() blocks only until the kernel's pool is first
// seeded, and returns at most 32 MiB per call.
void drawFromGenerator(std::span<std::uint8_t> out) {
  while (!out.empty()) {
    const ssize_t count = getrandom(out.data(), out.size(), 0);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) throw RandomSourceError("random generator failed to supply bytes");
    out = out.subspan(static_cast<std::size_t>(count));
  }
}
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
