#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string_view>

namespace sdkcore::cli {

// Standard error during a batch: whole text lines (log events, warnings) and, when enabled, one
// progress line under them showing the requests done, the errors so far, the rate and the
// elapsed time ("1200 done, 3 errors, 600/s, 2.0 s"). The progress line is redrawn at most 10 times
// a second; a text line clears it first and redraws it after, so the two never mix. Thread-safe.
class BatchProgress {
 public:
  using Clock = std::chrono::steady_clock;

  // Writes on 'stream'. When not 'enabled', text lines are written as they come and nothing else.
  BatchProgress(std::FILE* stream, bool enabled);
  BatchProgress(const BatchProgress&) = delete;
  BatchProgress& operator=(const BatchProgress&) = delete;

  // Counts one finished request; 'failed' when it gave no token. Never throws.
  void count(bool failed) noexcept;

  // Writes 'line' and a line feed, above the progress line. Never throws.
  void writeLine(std::string_view line) noexcept;

  // Clears the progress line for good; later counts draw nothing. Never throws.
  void finish() noexcept;

 private:
  void draw();
  void clear();

  std::mutex mutex_;
  std::FILE* stream_;
  bool enabled_;
  bool shown_ = false;  // the progress line is on the screen
  const Clock::time_point start_ = Clock::now();
  Clock::time_point lastDrawn_{};
  std::uint64_t done_ = 0;
  std::uint64_t errors_ = 0;
};

}  // namespace sdkcore::cli
