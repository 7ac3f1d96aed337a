#include "batch.hpp"

#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace sdkcore::cli {

namespace {
constexpr std::size_t kReadBufferSize = 64 * 1024;
constexpr std::size_t kWindowPerJob = 16;
// While a request is worked on it takes about 30 times its line's size (the parsed JSON, the
// records, UTF-16 copies for the validators, the payment string), plus a fixed amount for the
// rest of the work and its result.
constexpr std::size_t kCostPerLineByte = 32;
constexpr std::size_t kCostPerLine = 16 * 1024;
}  // namespace

std::size_t batchCostOf(std::size_t lineLength) {
  return kCostPerLine + kCostPerLineByte * lineLength;
}

LineReader::LineReader(int fd, std::size_t maxLength)
    : fd_(fd), maxLength_(maxLength), buffer_(kReadBufferSize) {}

bool LineReader::refill() {
  if (eof_) return false;
  begin_ = 0;
  end_ = 0;
  ssize_t count = 0;
  do {
    count = ::read(fd_, buffer_.data(), buffer_.size());
  } while (count < 0 && errno == EINTR);
  if (count <= 0) {
    eof_ = true;
    failed_ = count < 0;
    return false;
  }
  end_ = static_cast<std::size_t>(count);
  return true;
}

bool LineReader::next(InputLine& line) {
  line.text.clear();
  line.tooLong = false;
  bool any = false;
  while (begin_ < end_ || refill()) {
    any = true;
    const char* start = buffer_.data() + begin_;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
    const std::size_t length = newline ? static_cast<std::size_t>(newline - start) : end_ - begin_;
    if (!line.tooLong && line.text.size() + length <= maxLength_) {
      line.text.append(start, length);
    } else if (!line.tooLong) {
      line.tooLong = true;
      std::string().swap(line.text);  // release what was collected
    }
    begin_ += length;
    if (newline) {
      ++begin_;
      return true;
    }
  }
  // A line cut short by a read error is not a line.
  return any && !failed_;
}

namespace {

// Writes one result line and, when 'flush', pushes it out. Returns 0, or the errno of the write
// that failed (EIO when stdio does not say).
int writeResult(std::FILE* out, const std::string& line, bool flush) {
  errno = 0;
  const bool written = std::fwrite(line.data(), 1, line.size(), out) == line.size() &&
                       (!flush || std::fflush(out) == 0);
  return written ? 0 : (errno != 0 ? errno : EIO);
}

// The threaded form of runOrderedBatch: the calling thread reads and hands lines to the workers,
// one writer thread writes the results back in order. Everything shared is guarded by 'mutex'.
class OrderedPipeline {
 public:
  OrderedPipeline(std::FILE* out, unsigned jobs, const LineWork& work)
      : out_(out), jobs_(jobs), work_(work), slots_(kWindowPerJob * jobs) {}

  std::size_t run(LineReader& reader) {
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < jobs_; ++i) threads.emplace_back([this] { workLoop(); });
    threads.emplace_back([this] { writeLoop(); });
    readLoop(reader);
    for (std::thread& thread : threads) thread.join();
    if (writeError_ != 0) throw BatchOutputError(writeError_);
    return static_cast<std::size_t>(nextSeq_);
  }

 private:
  void readLoop(LineReader& reader) {
    InputLine line;
    while (!stopped() && reader.next(line)) {
      const std::size_t cost = batchCostOf(line.text.size());
      std::unique_lock<std::mutex> lock(mutex_);
      // A line waits for a free slot of the window and for room in the memory budget; one that
      // alone exceeds the budget goes when nothing else is in flight. Once output fails, reading
      // stops.
      readerWait_.wait(lock, [&] {
        return writeError_ != 0 ||
               (nextSeq_ - nextWrite_ < slots_.size() &&
                (costInFlight_ == 0 || costInFlight_ + cost <= kBatchMemoryBudget));
      });
      if (writeError_ != 0) break;
      costInFlight_ += cost;
      pending_.push_back({nextSeq_++, cost, std::move(line)});
      workerWait_.notify_one();
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    inputDone_ = true;
    workerWait_.notify_all();
    writerWait_.notify_one();
  }

  void workLoop() {
    for (;;) {
      std::unique_lock<std::mutex> lock(mutex_);
      workerWait_.wait(lock, [&] { return !pending_.empty() || inputDone_; });
      if (pending_.empty()) return;
      Request request = std::move(pending_.front());
      pending_.pop_front();
      const bool wanted = writeError_ == 0;
      lock.unlock();
      std::string result = wanted ? work_(request.line) : std::string();
      std::string().swap(request.line.text);
      lock.lock();
      costInFlight_ -= request.cost;
      readerWait_.notify_one();
      slots_[request.seq % slots_.size()] = std::move(result);
      if (request.seq == nextWrite_) writerWait_.notify_one();
    }
  }

  void writeLoop() {
    for (;;) {
      std::unique_lock<std::mutex> lock(mutex_);
      writerWait_.wait(lock, [&] { return ready() || (inputDone_ && nextWrite_ == nextSeq_); });
      if (!ready()) break;
      std::string result = std::move(*slots_[nextWrite_ % slots_.size()]);
      slots_[nextWrite_ % slots_.size()].reset();
      ++nextWrite_;
      const bool more = ready();
      readerWait_.notify_one();
      lock.unlock();
      result += '\n';
      // Flush whenever the next result is not ready yet, so an interactive caller sees each
      // answer without a write per line when results pile up.
      if (const int error = writeResult(out_, result, !more); error != 0) return fail(error);
    }
    if (const int error = writeResult(out_, {}, true); error != 0) fail(error);
  }

  // Stops the batch after a failed write: nothing more is read, worked on or written.
  void fail(int error) {
    const std::lock_guard<std::mutex> lock(mutex_);
    writeError_ = error;
    readerWait_.notify_all();
  }

  bool stopped() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return writeError_ != 0;
  }

  bool ready() const { return slots_[nextWrite_ % slots_.size()].has_value(); }

  std::FILE* out_;
  unsigned jobs_;
  const LineWork& work_;
  std::mutex mutex_;
  std::condition_variable readerWait_, workerWait_, writerWait_;
  // A line read and not yet taken by a worker.
  struct Request {
    std::uint64_t seq;
    std::size_t cost;
    InputLine line;
  };

  std::deque<Request> pending_;
  std::vector<std::optional<std::string>> slots_;  // the reorder window, indexed by seq % size
  std::uint64_t nextSeq_ = 0;
  std::uint64_t nextWrite_ = 0;
  std::size_t costInFlight_ = 0;  // of the lines read and not yet worked off
  bool inputDone_ = false;
  int writeError_ = 0;  // the errno of the write that failed, which stops the batch
};

// glibc raises its mmap threshold whenever a large block is freed, and from then on keeps such
// blocks in per-thread arenas: with many worker threads the peak memory then grows with the
// number of arenas instead of with what is in flight. A fixed threshold hands every large block
// back to the system when it is freed.
void returnLargeBlocksWhenFreed() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

}  // namespace

std::size_t runOrderedBatch(LineReader& reader, std::FILE* out, unsigned jobs,
                            const LineWork& work) {
  if (jobs > 1) {
    returnLargeBlocksWhenFreed();
    return OrderedPipeline(out, jobs, work).run(reader);
  }
  std::size_t count = 0;
  InputLine line;
  while (reader.next(line)) {
    std::string result = work(line);
    result += '\n';
    if (const int error = writeResult(out, result, true); error != 0) {
      throw BatchOutputError(error);
    }
    ++count;
  }
  return count;
}

}  // namespace sdkcore::cli
