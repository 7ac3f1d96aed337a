#include "batch.hpp"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace sdkcore::cli {
namespace {

// A stdio stream holding 'content', read back from the start.
std::FILE* streamOf(const std::string& content) {
  std::FILE* file = std::tmpfile();
  std::fwrite(content.data(), 1, content.size(), file);
  std::rewind(file);
  return file;
}

std::string readAll(std::FILE* file) {
  std::rewind(file);
  std::string content;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, n);
  return content;
}

struct ReaderCase {
  std::string name;
  std::string input;
  std::vector<std::string> lines;  // "<too long>" for a line over the limit
  friend void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.name; }
};

class LineReaderSplits : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(LineReaderSplits, IntoLines) {
  std::FILE* in = streamOf(GetParam().input);
  LineReader reader(fileno(in), 8);
  std::vector<std::string> lines;
  InputLine line;
  while (reader.next(line)) lines.push_back(line.tooLong ? "<too long>" : line.text);
  EXPECT_EQ(lines, GetParam().lines);
  EXPECT_FALSE(reader.failed());
  std::fclose(in);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineReaderSplits,
    ::testing::Values(ReaderCase{"Empty", "", {}}, ReaderCase{"OneWithLineFeed", "abc\n", {"abc"}},
                      ReaderCase{"LastWithoutLineFeed", "a\nb", {"a", "b"}},
                      ReaderCase{"BlankLinesKept", "\n\na\n", {"", "", "a"}},
                      ReaderCase{"ReturnKept", "a\r\n", {"a\r"}},
                      ReaderCase{"ExactlyTheLimit", "12345678\nx", {"12345678", "x"}},
                      ReaderCase{"TooLongSkippedToLineFeed", "123456789\nx\n", {"<too long>", "x"}},
                      ReaderCase{
                          "TooLongAtEnd", "a\n" + std::string(100000, 'z'), {"a", "<too long>"}}),
    [](const auto& info) { return info.param.name; });

// Counts the calls of 'work' running at once and remembers the most.
class Concurrency {
 public:
  template <typename Work>
  auto measure(Work work) {
    const int now = ++running_;
    int seen = most_.load();
    while (now > seen && !most_.compare_exchange_weak(seen, now)) {
    }
    auto result = work();
    --running_;
    return result;
  }
  int most() const { return most_.load(); }

 private:
  std::atomic<int> running_{0};
  std::atomic<int> most_{0};
};

class OrderedBatch : public ::testing::TestWithParam<unsigned> {};

// Work that takes longer for some lines, so results finish out of order on several threads.
TEST_P(OrderedBatch, WritesResultsInInputOrder) {
  const unsigned jobs = GetParam();
  std::string input;
  std::string expected;
  for (int i = 0; i < 2000; ++i) {
    input += std::to_string(i) + "\n";
    expected += "r" + std::to_string(i) + "\n";
  }
  std::FILE* in = streamOf(input);
  std::FILE* out = std::tmpfile();
  Concurrency concurrency;
  LineReader reader(fileno(in), 64);
  const std::size_t count = runOrderedBatch(reader, out, jobs, [&](const InputLine& line) {
    return concurrency.measure([&] {
      if (std::stoi(line.text) % 7 == 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(300));
      }
      return "r" + line.text;
    });
  });
  EXPECT_EQ(count, 2000u);
  EXPECT_EQ(readAll(out), expected);
  EXPECT_LE(concurrency.most(), static_cast<int>(jobs));
  if (jobs > 1) {
    EXPECT_GT(concurrency.most(), 1);
  }
  std::fclose(in);
  std::fclose(out);
}

INSTANTIATE_TEST_SUITE_P(Jobs, OrderedBatch, ::testing::Values(1u, 2u, 4u));

TEST(OrderedBatchWindow, ReadsOnlyABoundedNumberOfLinesAhead) {
  // While the first line is held up, the other worker may only run through the lines of the
  // reorder window (16 per job), not through the whole input.
  std::string input;
  for (int i = 0; i < 10000; ++i) input += std::to_string(i) + "\n";
  std::FILE* in = streamOf(input);
  std::FILE* out = std::tmpfile();
  std::atomic<int> started{0};
  int startedWhileFirstHeld = 0;
  LineReader reader(fileno(in), 64);
  runOrderedBatch(reader, out, 2, [&](const InputLine& line) {
    ++started;
    if (line.text == "0") {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      startedWhileFirstHeld = started.load();
    }
    return std::string("y");
  });
  EXPECT_GT(startedWhileFirstHeld, 1);
  EXPECT_LE(startedWhileFirstHeld, 32);
  EXPECT_EQ(readAll(out).size(), 20000u);
  std::fclose(in);
  std::fclose(out);
}

TEST(OrderedBatchBudget, LargeLinesShareTheMemoryBudgetWhateverTheJobs) {
  // Lines sized so that exactly two fit into the budget at once, and one that alone exceeds it.
  const std::size_t perByte = batchCostOf(1) - batchCostOf(0);
  const std::size_t length = (kBatchMemoryBudget / 2 - batchCostOf(0)) / perByte;
  const std::size_t huge = (kBatchMemoryBudget - batchCostOf(0)) / perByte + 1;
  std::string input;
  for (int i = 0; i < 8; ++i) input += std::string(length, 'a') + "\n";
  input += std::string(huge, 'b') + "\n";
  std::FILE* in = streamOf(input);
  std::FILE* out = std::tmpfile();
  Concurrency concurrency;
  LineReader reader(fileno(in), huge);
  runOrderedBatch(reader, out, 16, [&](const InputLine& line) {
    return concurrency.measure([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      return std::string(1, line.text.at(0));
    });
  });
  EXPECT_EQ(readAll(out), "a\na\na\na\na\na\na\na\nb\n");
  EXPECT_LE(concurrency.most(), 2);
  std::fclose(in);
  std::fclose(out);
}

// Reads one line from 'fd', waiting at most five seconds for it; "" on timeout or end.
std::string readLineWithin5s(int fd) {
  std::string line;
  char c = 0;
  while (line.empty() || line.back() != '\n') {
    pollfd waitFor{fd, POLLIN, 0};
    if (poll(&waitFor, 1, 5000) != 1 || read(fd, &c, 1) != 1) return "";
    line += c;
  }
  return line;
}

class StreamingBatch : public ::testing::TestWithParam<unsigned> {};

// An interactive caller writes a request and waits for its answer before writing the next.
TEST_P(StreamingBatch, AnswersEachLineBeforeTheNextArrives) {
  int in[2];
  int out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  std::thread batch([&] {
    std::FILE* results = fdopen(out[1], "w");
    LineReader reader(in[0], 64);
    runOrderedBatch(reader, results, GetParam(),
                    [](const InputLine& line) { return "r" + line.text; });
    std::fclose(results);
  });
  for (int i = 0; i < 3; ++i) {
    const std::string request = std::to_string(i) + "\n";
    ASSERT_EQ(write(in[1], request.data(), request.size()), static_cast<ssize_t>(request.size()));
    EXPECT_EQ(readLineWithin5s(out[0]), "r" + request);
  }
  close(in[1]);
  batch.join();
  EXPECT_EQ(readLineWithin5s(out[0]), "");
  close(in[0]);
  close(out[0]);
}

INSTANTIATE_TEST_SUITE_P(Jobs, StreamingBatch, ::testing::Values(1u, 2u));

}  // namespace
}  // namespace sdkcore::cli
