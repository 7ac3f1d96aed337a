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
