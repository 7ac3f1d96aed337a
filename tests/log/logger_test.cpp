#include "sdkcore/logger.hpp"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <latch>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

// The logger is process-wide, so every test here attaches its own fresh sinks, logs messages
// unique to the test and checks only what its own sinks received.

namespace sdkcore {
namespace {

struct Event {
  std::string sink;
  const std::type_info* type;
  std::string tag;
  std::string message;
  std::shared_ptr<const std::exception> exception;
};

// Records events, from any thread, into a journal that several sinks may share.
class Journal {
 public:
  // Events with the message 'ignored' are dropped, so a busy logging thread uses no memory.
  explicit Journal(std::string ignored = {}) : ignored_(std::move(ignored)) {}
  void add(Event event) {
    if (!ignored_.empty() && event.message == ignored_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
  }
  std::vector<Event> events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  std::vector<std::string> sinksThatGot(const std::string& message) const {
    std::vector<std::string> sinks;
    for (const Event& event : events()) {
      if (event.message == message) sinks.push_back(event.sink);
    }
    return sinks;
  }

 private:
  std::string ignored_;
  mutable std::mutex mutex_;
  std::vector<Event> events_;
};

class RecordingSink : public LogInterface {
 public:
  RecordingSink(std::string name, std::shared_ptr<Journal> journal)
      : name_(std::move(name)), journal_(std::move(journal)) {}
  void log(const std::type_info& classType, const std::string& tag, const std::string& message,
           std::shared_ptr<const std::exception> exception) override {
    journal_->add({name_, &classType, tag, message, std::move(exception)});
  }

 private:
  std::string name_;
  std::shared_ptr<Journal> journal_;
};

void logMessage(const std::string& message,
                std::shared_ptr<const std::exception> exception = nullptr) {
  Logger::shared().log(typeid(Logger), std::string(Logger::TAG), message, std::move(exception));
}

TEST(LoggerTest, SharedIsOneInstanceWithFixedTag) {
  EXPECT_EQ(&Logger::shared(), &Logger::shared());
  EXPECT_EQ(Logger::TAG, "SDK-Core");
}

TEST(LoggerTest, WithoutSinksLoggingDoesNothing) {
#ifndef SDKCORE_TEST_EMULATED
  // Runs in a fresh process, so no sink of another test is attached.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
#else
  // The emulator cannot start a target program again, so the child is a plain fork(); ctest runs
  // this test in a process of its own there (ALONE in CMakeLists.txt).
  GTEST_FLAG_SET(death_test_style, "fast");
#endif
  EXPECT_EXIT(
      {
        if (Logger::shared().hasLogInterfaces()) std::_Exit(1);
        logMessage("nobody listens");
        std::_Exit(Logger::shared().hasLogInterfaces() ? 1 : 0);
      },
      testing::ExitedWithCode(0), "");
}

TEST(LoggerTest, DeliversToSinksInRegistrationOrderWithIdenticalArguments) {
  auto journal = std::make_shared<Journal>();
  Logger::shared().addLogInterface(std::make_shared<RecordingSink>("A", journal));
  Logger::shared().addLogInterface(std::make_shared<RecordingSink>("B", journal));
  EXPECT_TRUE(Logger::shared().hasLogInterfaces());
  auto error = std::make_shared<const std::runtime_error>("boom");

  logMessage("order-1", error);
  logMessage("order-2");

  const auto events = journal->events();
  ASSERT_EQ(events.size(), 4u);
  const std::vector<std::pair<std::string, std::string>> expected{
      {"A", "order-1"}, {"B", "order-1"}, {"A", "order-2"}, {"B", "order-2"}};
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].sink, expected[i].first);
    EXPECT_EQ(events[i].message, expected[i].second);
    EXPECT_EQ(*events[i].type, typeid(Logger));
    EXPECT_EQ(events[i].tag, "SDK-Core");
  }
  // A present error reaches every sink as the same object; an absent one stays absent.
  EXPECT_EQ(events[0].exception, error);
  EXPECT_EQ(events[1].exception, error);
  EXPECT_EQ(events[2].exception, nullptr);
  EXPECT_EQ(events[3].exception, nullptr);
}

TEST(LoggerTest, SinkAddedTwiceReceivesEveryEventTwice) {
  auto journal = std::make_shared<Journal>();
  auto sink = std::make_shared<RecordingSink>("twice", journal);
  Logger::shared().addLogInterface(sink);
  Logger::shared().addLogInterface(sink);
  logMessage("twice-1");
  EXPECT_EQ(journal->sinksThatGot("twice-1"), (std::vector<std::string>{"twice", "twice"}));
}

// Records every event and logs an echo of it, as a sink that makes a token per event does.
class EchoingSink : public LogInterface {
 public:
  explicit EchoingSink(std::shared_ptr<Journal> journal) : journal_(std::move(journal)) {}
  void log(const std::type_info& type, const std::string& tag, const std::string& message,
           std::shared_ptr<const std::exception> exception) override {
    journal_->add({"echo", &type, tag, message, exception});
    logMessage("echo of " + message);
  }

 private:
  std::shared_ptr<Journal> journal_;
};

// Without the rule the echo would echo itself until the stack overflows.
TEST(LoggerTest, EventsThatASinkCausesReachOnlyTheOtherSinks) {
  auto journal = std::make_shared<Journal>();
  const auto echo = std::make_shared<EchoingSink>(journal);
  Logger::shared().addLogInterface(echo);
  Logger::shared().addLogInterface(std::make_shared<RecordingSink>("other", journal));
  logMessage("echo-1");
  Logger::shared().removeLogInterface(echo);
  EXPECT_EQ(journal->sinksThatGot("echo-1"), (std::vector<std::string>{"echo", "other"}));
  EXPECT_EQ(journal->sinksThatGot("echo of echo-1"), (std::vector<std::string>{"other"}));
}

// Adds 'added' to the logger while handling its first event.
class AddingSink : public LogInterface {
 public:
  AddingSink(std::shared_ptr<LogInterface> added, std::shared_ptr<Journal> journal)
      : added_(std::move(added)), journal_(std::move(journal)) {}
  void log(const std::type_info& type, const std::string& tag, const std::string& message,
           std::shared_ptr<const std::exception> exception) override {
    journal_->add({"adder", &type, tag, message, exception});
    if (added_) Logger::shared().addLogInterface(std::exchange(added_, nullptr));
  }

 private:
  std::shared_ptr<LogInterface> added_;
  std::shared_ptr<Journal> journal_;
};

TEST(LoggerTest, SinkAddedDuringDeliveryMissesOnlyTheEventInProgress) {
  auto journal = std::make_shared<Journal>();
  auto late = std::make_shared<RecordingSink>("late", journal);
  Logger::shared().addLogInterface(std::make_shared<AddingSink>(late, journal));
  logMessage("during-1");  // would deadlock if the lock were held while sinks run
  logMessage("during-2");
  EXPECT_EQ(journal->sinksThatGot("during-1"), (std::vector<std::string>{"adder"}));
  EXPECT_EQ(journal->sinksThatGot("during-2"), (std::vector<std::string>{"adder", "late"}));
}

class ThrowingSink : public LogInterface {
 public:
  void log(const std::type_info&, const std::string&, const std::string&,
           std::shared_ptr<const std::exception>) override {
    throw std::runtime_error("sink failed");
  }
};

TEST(LoggerTest, ThrowingSinkNeitherEscapesNorStopsLaterSinks) {
  auto journal = std::make_shared<Journal>();
  Logger::shared().addLogInterface(std::make_shared<ThrowingSink>());
  Logger::shared().addLogInterface(std::make_shared<RecordingSink>("after", journal));
  EXPECT_NO_THROW(logMessage("throwing-1"));
  EXPECT_EQ(journal->sinksThatGot("throwing-1"), (std::vector<std::string>{"after"}));
}

TEST(LoggerTest, SinksAddedWhileAnotherThreadLogsAreAllKept) {
  constexpr int kSinks = 200;
  auto journal = std::make_shared<Journal>("concurrent-noise");
  std::atomic<bool> adding{true};
  std::thread logger([&] {
    while (adding.load()) logMessage("concurrent-noise");
  });
  std::thread adder([&] {
    for (int i = 0; i < kSinks; ++i) {
      Logger::shared().addLogInterface(
          std::make_shared<RecordingSink>("sink-" + std::to_string(i), journal));
    }
    adding.store(false);
  });
  adder.join();
  logger.join();

  logMessage("concurrent-final");
  std::vector<std::string> expected;
  for (int i = 0; i < kSinks; ++i) expected.push_back("sink-" + std::to_string(i));
  EXPECT_EQ(journal->sinksThatGot("concurrent-final"), expected);
  EXPECT_EQ(journal->events().size(), static_cast<std::size_t>(kSinks));
}

TEST(LoggerTest, RemovedSinkReceivesNothingMoreWhileOthersStillDo) {
  auto journal = std::make_shared<Journal>();
  auto removed = std::make_shared<RecordingSink>("removed", journal);
  Logger::shared().addLogInterface(removed);
  Logger::shared().addLogInterface(std::make_shared<RecordingSink>("kept", journal));
  Logger::shared().addLogInterface(removed);  // every registration goes

  EXPECT_TRUE(Logger::shared().removeLogInterface(removed));
  EXPECT_FALSE(Logger::shared().removeLogInterface(removed));
  logMessage("removal-1");
  EXPECT_EQ(journal->sinksThatGot("removal-1"), (std::vector<std::string>{"kept"}));
}

// Blocks its first delivery until released; removes itself during any later one.
class BlockingSink : public LogInterface {
 public:
  void log(const std::type_info&, const std::string&, const std::string& message,
           std::shared_ptr<const std::exception>) override {
    if (message == "blocking-first") {
      entered_.set_value();
      released_.wait_for(std::chrono::seconds(30));
      finished_ = true;
    } else if (message == "blocking-self") {
      removedItself_ = Logger::shared().removeLogInterface(self_.lock());
    } else {
      ++others_;
    }
  }

  std::weak_ptr<LogInterface> self_;
  std::promise<void> entered_;
  std::shared_future<void> released_;
  std::atomic<bool> finished_{false};
  std::atomic<bool> removedItself_{false};
  std::atomic<int> others_{0};
};

TEST(LoggerTest, RemovalWaitsForDeliveryOnAnotherThreadButNotInsideItsOwnCall) {
  auto sink = std::make_shared<BlockingSink>();
  sink->self_ = sink;
  std::promise<void> release;
  sink->released_ = release.get_future().share();
  std::future<void> entered = sink->entered_.get_future();
  Logger::shared().addLogInterface(sink);
  std::thread first([] { logMessage("blocking-first"); });
  entered.wait();

  // Inside its own call the sink removes itself without waiting for the blocked delivery.
  logMessage("blocking-self");
  EXPECT_TRUE(sink->removedItself_);
  EXPECT_FALSE(sink->finished_);
  logMessage("blocking-later");
  EXPECT_EQ(sink->others_, 0);

  // Elsewhere, removal waits for the delivery in progress.
  Logger::shared().addLogInterface(sink);
  std::future<bool> removal =
      std::async(std::launch::async, [&] { return Logger::shared().removeLogInterface(sink); });
  EXPECT_EQ(removal.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  release.set_value();
  EXPECT_TRUE(removal.get());
  EXPECT_TRUE(sink->finished_);
  first.join();
}

// Acts on one message only: once every such sink has entered its call, removes its target.
class CrossRemovingSink : public LogInterface {
 public:
  CrossRemovingSink(std::string trigger, std::latch& allInside)
      : trigger_(std::move(trigger)), allInside_(allInside) {}
  void log(const std::type_info&, const std::string&, const std::string& message,
           std::shared_ptr<const std::exception>) override {
    ++events_;
    if (message != trigger_) return;
    allInside_.arrive_and_wait();
    removed_ = Logger::shared().removeLogInterface(target_.lock());
  }

  std::weak_ptr<LogInterface> target_;
  std::atomic<bool> removed_{false};
  std::atomic<int> events_{0};

 private:
  std::string trigger_;
  std::latch& allInside_;
};

TEST(LoggerTest, SinksRemovingEachOtherOnTwoThreadsDoNotDeadlock) {
  std::latch allInside(2);
  auto x = std::make_shared<CrossRemovingSink>("cross-x", allInside);
  auto y = std::make_shared<CrossRemovingSink>("cross-y", allInside);
  x->target_ = y;
  y->target_ = x;
  Logger::shared().addLogInterface(x);
  Logger::shared().addLogInterface(y);
  std::promise<void> doneX, doneY;
  std::future<void> finishedX = doneX.get_future(), finishedY = doneY.get_future();
  std::thread threadX([&doneX] {
    logMessage("cross-x");
    doneX.set_value();
  });
  std::thread threadY([&doneY] {
    logMessage("cross-y");
    doneY.set_value();
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  const bool finished = finishedX.wait_until(deadline) == std::future_status::ready &&
                        finishedY.wait_until(deadline) == std::future_status::ready;
  if (!finished) {
    // Deadlocked threads can never be joined; the process ends with them.
    threadX.detach();
    threadY.detach();
    FAIL() << "removals waited for each other";
  }
  threadX.join();
  threadY.join();
  EXPECT_TRUE(x->removed_);
  EXPECT_TRUE(y->removed_);
  const int eventsX = x->events_, eventsY = y->events_;
  logMessage("cross-after");
  EXPECT_EQ(x->events_, eventsX);
  EXPECT_EQ(y->events_, eventsY);
}

}  // namespace
}  // namespace sdkcore
