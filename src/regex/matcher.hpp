#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "regex/program.hpp"

namespace sdkcore::regex {

// Where a match lies: byte offsets into the text.
struct Span {
  std::size_t begin;
  std::size_t end;
};

// Runs a program over UTF-8 text as a Pike VM: all threads advance together one code point at a
// time, kept in order of priority, at most one per instruction, so that a search takes time
// linear in the text whatever the pattern, and finds the match that a backtracking matcher
// would: the leftmost, and of those the one its priorities (greedy or lazy, the order of the
// alternatives) prefer. Ill-formed UTF-8 reads as U+FFFD, one per maximal ill-formed
// subsequence. The buffers are allocated once, in the constructor, and reused by every search.
// Not thread-safe: one matcher per thread (the program may be shared).
class Matcher {
 public:
  // Throws std::bad_alloc only.
  explicit Matcher(const Program& program);

  // The preferred match starting at or after byte 'from' of 'text' (a code point boundary), or
  // nullopt. With 'anyMatch' the search stops at the first match it meets, which suffices to
  // know whether there is one, and the span is then not the preferred one.
  std::optional<Span> find(std::string_view text, std::size_t from, bool anyMatch) noexcept;

 private:
  struct Thread {
    std::uint32_t pc;
    std::size_t start;
  };
  struct ThreadList {
    Thread* threads;
    std::size_t size;
  };

  void addThread(ThreadList& list, std::uint32_t pc, std::size_t start, std::size_t at) noexcept;
  std::optional<std::uint32_t> step(const Instruction& instruction, char32_t c) const noexcept;
  void nextGeneration() noexcept;

  const Program& program_;
  std::string_view text_;
  std::vector<Thread> threads_;  // the current and the next list, one half each
  std::vector<std::uint32_t> stack_;
  std::vector<std::uint32_t> seen_;  // seen_[pc] == generation_: pc visited at this position
  std::uint32_t generation_ = 0;
};

}  // namespace sdkcore::regex
