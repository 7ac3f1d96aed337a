#include "cryptogram/fork_generation.hpp"

#include <pthread.h>

#include <atomic>

namespace sdkcore {
namespace {

std::atomic<std::uint64_t> generation{0};

extern "C" void countForkInChild() { generation.fetch_add(1, std::memory_order_relaxed); }

}  // namespace

std::optional<std::uint64_t> forkGeneration() noexcept {
  // Registered on first use rather than at load, so that a static initializer drawing random
  // bytes cannot run before the handler exists.
  static const bool counted = pthread_atfork(nullptr, nullptr, countForkInChild) == 0;
  if (!counted) return std::nullopt;
  return generation.load(std::memory_order_relaxed);
}

}  // namespace sdkcore
