#include "freed_memory/freed_block_scan.hpp"

#include <execinfo.h>
#include <malloc.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

extern "C" void __libc_free(void* block);

namespace sdkcore::testing {
namespace {

constexpr std::size_t kMaxNeedles = 16;
constexpr std::size_t kMaxNeedleSize = 64;
constexpr std::size_t kMaxHits = 16;
constexpr int kFrames = 12;

struct StoredNeedle {
  std::string_view name;  // names are literals of the test program
  std::array<char, kMaxNeedleSize> bytes;
  std::size_t size;
};

struct Hit {
  std::string_view name;
  std::array<void*, kFrames> frames;
  int frameCount;
};

// Everything lives in static storage: the scan itself must not allocate.
std::atomic<bool> armed{false};
thread_local bool scanning = false;
std::array<StoredNeedle, kMaxNeedles> needles;
std::size_t needleCount = 0;
std::array<Hit, kMaxHits> hits;
std::size_t hitCount = 0;

// The needle found in 'block', or nullptr.
const StoredNeedle* findNeedle(const void* block) {
  const std::size_t size = malloc_usable_size(const_cast<void*>(block));
  for (std::size_t i = 0; i < needleCount; ++i) {
    if (memmem(block, size, needles[i].bytes.data(), needles[i].size) != nullptr) {
      return &needles[i];
    }
  }
  return nullptr;
}

void record(const StoredNeedle& needle) {
  if (hitCount == kMaxHits) return;
  Hit& hit = hits[hitCount++];
  hit.name = needle.name;
  hit.frameCount = backtrace(hit.frames.data(), kFrames);
}

// The needle in 'block' when a scan is due (armed, not re-entered), else nullptr.
const StoredNeedle* scan(const void* block) {
  if (block == nullptr || !armed.load(std::memory_order_relaxed) || scanning) return nullptr;
  scanning = true;
  const StoredNeedle* found = findNeedle(block);
  scanning = false;
  return found;
}

void recordIfFound(const StoredNeedle* found) {
  if (found == nullptr) return;
  scanning = true;
  record(*found);
  scanning = false;
}

}  // namespace

void armFreedBlockScan(std::span<const Needle> wanted) {
  // backtrace() loads its unwinder on first use, which allocates: done here, before arming.
  std::array<void*, 1> warmUp;
  backtrace(warmUp.data(), 1);
  needleCount = std::min(wanted.size(), kMaxNeedles);
  for (std::size_t i = 0; i < needleCount; ++i) {
    needles[i].name = wanted[i].name;
    needles[i].size = std::min(wanted[i].bytes.size(), kMaxNeedleSize);
    std::memcpy(needles[i].bytes.data(), wanted[i].bytes.data(), needles[i].size);
  }
  hitCount = 0;
  armed.store(true);
}

std::vector<std::string> disarmFreedBlockScan() {
  armed.store(false);
  std::vector<std::string> report;
  for (std::size_t i = 0; i < hitCount; ++i) {
    std::string line(hits[i].name);
    const std::unique_ptr<char*, decltype(&std::free)> symbols(
        backtrace_symbols(hits[i].frames.data(), hits[i].frameCount), &std::free);
    for (int frame = 1; symbols && frame < hits[i].frameCount; ++frame) {
      line += "\n    ";
      line += symbols.get()[frame];
    }
    report.push_back(std::move(line));
  }
  return report;
}

std::string utf16(std::string_view text) {
  std::string wide;
  for (const char c : text) wide += {c, '\0'};
  return wide;
}

}  // namespace sdkcore::testing

using sdkcore::testing::recordIfFound;
using sdkcore::testing::scan;

// Every block is cleared on release, armed or not, so that a block handed out again cannot carry
// card data that the test itself released earlier into a later scan.
extern "C" void free(void* block) {
  recordIfFound(scan(block));
  if (block != nullptr) std::memset(block, 0, malloc_usable_size(block));
  __libc_free(block);
}

// Growing moves the block through free() above; shrinking keeps it where it is. A block that
// glibc's own realloc moved or split would go back to the allocator unscanned and uncleared.
extern "C" void* realloc(void* block, std::size_t size) {
  if (block == nullptr) return std::malloc(size);
  if (size == 0) {
    free(block);
    return nullptr;
  }
  const std::size_t old = malloc_usable_size(block);
  if (size <= old) return block;
  void* moved = std::malloc(size);
  if (moved == nullptr) return nullptr;
  std::memcpy(moved, block, old);
  free(block);
  return moved;
}

// Every operator delete ends in free(), so scanned blocks are the same whichever form is used.
void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, std::size_t) noexcept { free(block); }
void operator delete[](void* block, std::size_t) noexcept { free(block); }
void operator delete(void* block, std::align_val_t) noexcept { free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { free(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { free(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  free(block);
}
