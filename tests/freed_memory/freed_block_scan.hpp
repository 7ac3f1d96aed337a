#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Searches every heap block released while armed (free, realloc that moves or frees, every form
// of operator delete) for given byte strings, before the block goes back to the allocator. The
// program that links this file replaces free, realloc and operator delete for the whole process;
// it cannot run under a sanitizer or valgrind, which replace them too. Single-threaded use only.
namespace sdkcore::testing {

// One byte string to look for, with the name a hit is reported under.
struct Needle {
  std::string_view name;
  std::string_view bytes;  // at most 64 bytes
};

// Starts scanning for 'needles' (at most 16), forgetting earlier hits.
void armFreedBlockScan(std::span<const Needle> needles);

// Stops scanning and returns one line per hit: the needle's name and the releasing call chain.
std::vector<std::string> disarmFreedBlockScan();

// The UTF-16 (little-endian) form of ASCII 'text'.
std::string utf16(std::string_view text);

}  // namespace sdkcore::testing
