#include "batch_progress.hpp"

#include <cinttypes>
#include <string>

namespace sdkcore::cli {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
// Back to the start of the line, then erase to its end.
constexpr std::string_view kClearLine = "\r\x1b[K";

std::string progressText(std::uint64_t done, std::uint64_t errors,
                         BatchProgress::Clock::duration elapsed) {
  const double seconds = std::chrono::duration<double>(elapsed).count();
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0.0;
  char line[128];
  std::snprintf(line, sizeof line, "%" PRIu64 " done, %" PRIu64 " %s, %.0f/s, %.1f s", done, errors,
                errors == 1 ? "error" : "errors", rate, seconds);
  return line;
}

}  // namespace

BatchProgress::BatchProgress(std::FILE* stream, bool enabled)
    : stream_(stream), enabled_(enabled) {}

void BatchProgress::count(bool failed) noexcept {
  const std::lock_guard<std::mutex> lock(mutex_);
  ++done_;
  if (failed) ++errors_;
  if (enabled_ && Clock::now() - lastDrawn_ >= kRedrawInterval) draw();
}

void BatchProgress::writeLine(std::string_view line) noexcept {
  const std::lock_guard<std::mutex> lock(mutex_);
  const bool wasShown = shown_;
  clear();
  std::fwrite(line.data(), 1, line.size(), stream_);
  std::fputc('\n', stream_);
  if (wasShown) draw();
  std::fflush(stream_);
}

void BatchProgress::finish() noexcept {
  const std::lock_guard<std::mutex> lock(mutex_);
  clear();
  enabled_ = false;
}

void BatchProgress::draw() {
  lastDrawn_ = Clock::now();
  try {
    const std::string line = progressText(done_, errors_, lastDrawn_ - start_);
    std::fwrite(kClearLine.data(), 1, kClearLine.size(), stream_);
    std::fwrite(line.data(), 1, line.size(), stream_);
    std::fflush(stream_);
    shown_ = true;
  } catch (...) {
    // A progress line that cannot be built is skipped; the next count tries again.
  }
}

void BatchProgress::clear() {
  if (!shown_) return;
  std::fwrite(kClearLine.data(), 1, kClearLine.size(), stream_);
  std::fflush(stream_);
  shown_ = false;
}

}  // namespace sdkcore::cli
