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
  // A last line without a line feed counts as a line at the end of the input, but not when a read
  // error cut it short; an input that ends with a line feed has no empty line after it.
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

// The most that the lines in flight of a batch may together cost in memory, whatever the number
// of jobs.
inline constexpr std::size_t kBatchMemoryBudget = 128 * 1024 * 1024;

// What a line of 'lineLength' bytes is reckoned to cost in memory while it is in flight: the line
// and the work on it.
std::size_t batchCostOf(std::size_t lineLength);

// A result line could not be written; 'error' is the errno of the failed write.
struct BatchOutputError {
  int error;
};

// Turns one input line into one result line (without its line feed). Must not throw; it is
// called from 'jobs' threads at once.
using LineWork = std::function<std::string(const InputLine&)>;

// Reads every line of 'reader', applies 'work' on 'jobs' threads (1: on the calling thread) and
// writes the results to 'out' in input order, one per line, as soon as each is next in order.
// At most 16 lines per job are read ahead of the output (a bounded reorder window), and the lines
// in flight share kBatchMemoryBudget: a large line waits until the budget allows it, and one
// beyond the budget goes alone. So memory stays flat for any number and size of lines and
// any number of jobs. Each result line is written whole. Returns the number of lines processed.
// Throws BatchOutputError when a write to 'out' fails: reading stops there, lines already read are
// not worked on, and nothing more is written.
std::size_t runOrderedBatch(LineReader& reader, std::FILE* out, unsigned jobs,
                            const LineWork& work);

}  // namespace sdkcore::cli
