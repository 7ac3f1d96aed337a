#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace sdkcore::cli {

// One line of JSON Lines input, without its line feed.
struct InputLine {
  std::string text;      // at most the reader's maximum length
  bool tooLong = false;  // the line was longer; 'text' is empty and the rest was skipped
};

// Reads lines from a file descriptor through a fixed buffer, so memory stays bounded by the
// longest line allowed however long the input. It reads whatever is available (read(2), not
// fread), so a line is handed on as soon as it arrives on a pipe. Not thread-safe.
class LineReader {
 public:
  LineReader(int fd, std::size_t maxLength);

  // Reads the next line into 'line'. Returns false at the end of the input or on a read error.
  // A last line without a line feed counts as a line; an input that ends with a line feed has no
  // empty line after it.
  bool next(InputLine& line);

  // True when reading stopped because of a read error rather than the end of the input.
  bool failed() const { return failed_; }

 private:
  bool refill();

  int fd_;
  std::size_t maxLength_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool failed_ = false;
};

// Turns one input line into one result line (without its line feed). Must not throw; it is
// called from 'jobs' threads at once.
using LineWork = std::function<std::string(const InputLine&)>;

// Reads every line of 'reader', applies 'work' on 'jobs' threads (1: on the calling thread) and
// writes the results to 'out' in input order, one per line, as soon as each is next in order.
// At most 16 lines per job are read ahead of the output (a bounded reorder window), so memory stays
// flat for any number of lines. Returns the number of lines processed.
std::size_t runOrderedBatch(LineReader& reader, std::FILE* out, unsigned jobs,
                            const LineWork& work);

}  // namespace sdkcore::cli
