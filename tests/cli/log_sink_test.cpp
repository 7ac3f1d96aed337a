#include "log_sink.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "sdkcore/param_field.hpp"

namespace sdkcore::cli {
namespace {

struct EscapeCase {
  std::string name;
  std::string text;
  std::string expected;
  friend void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }
};

class EscapeControlCharacters : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeControlCharacters, KeepsOneLine) {
  EXPECT_EQ(escapeControlCharacters(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EscapeControlCharacters,
    ::testing::Values(
        EscapeCase{"Plain", "validateField(): Error CVC", "validateField(): Error CVC"},
        EscapeCase{"LineFeedAndReturn", "a\nb\r\n", "a\\nb\\r\\n"},
        EscapeCase{"TabAndNul", std::string("\t\0x", 3), "\\t\\0x"},
        EscapeCase{"Escape", "\x1b[31m", "\\u{1B}[31m"}, EscapeCase{"Delete", "\x7f", "\\u{7F}"},
        EscapeCase{"NextLine", "a\xc2\x85z", "a\\u{85}z"},
        EscapeCase{"LineSeparator", "a\xe2\x80\xa8z\xe2\x80\xa9", "a\\u{2028}z\\u{2029}"},
        EscapeCase{"QuotesAndBackslashKept", "\"\\", "\"\\"},
        EscapeCase{"MultiByteKept", "J\xc3\x96RG \xe2\x82\xac", "J\xc3\x96RG \xe2\x82\xac"},
        EscapeCase{"InvalidUtf8Kept", "\xff\xc2", "\xff\xc2"}),
    [](const auto& info) { return info.param.name; });

TEST(FormatLogLine, AppendsTheCaseNameOfAParamField) {
  const ParamFieldError error(ParamField::CVC);
  EXPECT_EQ(formatLogLine("SDK-Core", "validateField(): Error CVC", &error),
            "SDK-Core: validateField(): Error CVC (CVC)");
}

TEST(FormatLogLine, AppendsTheDescriptionOfAnyOtherError) {
  const std::runtime_error error("bad\ndate");
  EXPECT_EQ(formatLogLine("SDK-Core", "generateWithConfig(x): Error bad", &error),
            "SDK-Core: generateWithConfig(x): Error bad (bad\\ndate)");
}

TEST(FormatLogLine, WithoutErrorIsTagAndMessage) {
  EXPECT_EQ(formatLogLine("SDK-Core", "generation method:", nullptr),
            "SDK-Core: generation method:");
}

TEST(StreamLogSink, ConcurrentEventsStayWholeLines) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  StreamLogSink sink(file);
  const std::string message(2000, 'x');
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) sink.log(typeid(int), "SDK-Core", message, nullptr);
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::rewind(file);
  const std::string expected = "SDK-Core: " + message;
  char buffer[4096];
  int lines = 0;
  while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
    std::string line(buffer);
    ASSERT_EQ(line, expected + "\n");
    ++lines;
  }
  EXPECT_EQ(lines, 800);
  std::fclose(file);
}

}  // namespace
}  // namespace sdkcore::cli
