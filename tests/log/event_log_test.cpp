#include "log/event_log.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "sdkcore/logger.hpp"
#include "support/log_capture.hpp"

namespace sdkcore {
namespace {

using ::sdkcore::testing::LogCapture;
using ::sdkcore::testing::ThrowingSinkScope;

struct Reporter {};

// Runs only in a process where no test has attached a sink yet (ctest runs each test in a
// process of its own); the logger offers no way to detach one.
TEST(EventLog, BuildsNoMessageWithoutSinks) {
  if (Logger::shared().hasLogInterfaces()) GTEST_SKIP() << "a sink is attached in this process";
  int built = 0;
  const EventLog log(typeid(Reporter));
  log.write([&] { return std::string(++built, 'x'); });
  log.write([&] { return std::string(++built, 'x'); }, ParamField::PAN);
  EXPECT_EQ(built, 0);
}

TEST(EventLog, DeliversMessageTagClassAndFieldError) {
  const LogCapture capture;
  const EventLog log(typeid(Reporter));
  log.write([] { return std::string("plain"); });
  log.write([] { return std::string("with field"); }, ParamField::CVC);
  log.writeError([] { return std::string("with error"); }, std::runtime_error("boom"));

  const auto events = capture.events();
  ASSERT_EQ(events.size(), 3u);
  for (const auto& event : events) {
    EXPECT_EQ(*event.classType, typeid(Reporter));
    EXPECT_EQ(event.tag, "SDK-Core");
  }
  EXPECT_EQ(events[0].message, "plain");
  EXPECT_EQ(events[0].exception, nullptr);
  EXPECT_EQ(events[1].message, "with field");
  EXPECT_EQ(events[1].exceptionField(), ParamField::CVC);
  EXPECT_EQ(events[2].message, "with error");
  ASSERT_NE(events[2].exception, nullptr);
  EXPECT_STREQ(events[2].exception->what(), "boom");
}

TEST(EventLog, SwallowsFailuresOfSinksAndMessageBuilding) {
  const LogCapture capture;
  const EventLog log(typeid(Reporter));
  {
    const ThrowingSinkScope throwing;
    EXPECT_NO_THROW(log.write([] { return std::string("to a failing sink"); }));
  }
  EXPECT_NO_THROW(log.write([]() -> std::string { throw std::runtime_error("no memory"); }));
  log.write([] { return std::string("after"); });
  EXPECT_EQ(capture.messages().back(), "after");
}

}  // namespace
}  // namespace sdkcore
