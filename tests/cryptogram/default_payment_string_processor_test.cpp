#include "cryptogram/default_payment_string_processor.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/payment_string_fields.hpp"

namespace sdkcore {
namespace {

using ::sdkcore::testing::paymentStringFields;
using ::sdkcore::testing::utcDate;

constexpr std::int64_t kTimestamp = 1700000000;
constexpr char kUuid[] = "3F2504E0-4F89-41D3-9A0C-0305E82C3301";
constexpr char kRest[] = "/3F2504E0-4F89-41D3-9A0C-0305E82C3301";

CoreCardInfo newCard(std::optional<ExpiryDate> expiry, std::optional<std::string> holder) {
  return CoreCardInfo(CardIdentifier::newPaymentMethodIdentifier("4111111111111111"), expiry, "123",
                      std::move(holder));
}

CoreCardInfo storedCard(std::optional<std::string> cvv) {
  return CoreCardInfo(CardIdentifier::storedPaymentMethodIdentifier("BIND-77"), std::nullopt,
                      std::move(cvv), std::nullopt);
}

struct ZoneCase {
  std::string zoneId;
  std::string date;  // field 1 for kTimestamp
};

class PaymentStringZoneTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(PaymentStringZoneTest, WorkedExamplesByteForByte) {
  const DefaultPaymentStringProcessor processor(GetParam().zoneId);
  const std::string prefix = GetParam().date + kRest;
  const auto build = [&](std::string_view order, const CoreCardInfo& info) {
    return processor.createPaymentString(order, kTimestamp, kUuid, info,
                                         ZKITRegisteredFrom::ZKIT_CORE);
  };
  EXPECT_EQ(build("ORDER-1", newCard(ExpiryDate(2025, 12), "JOHN DOE")),
            prefix + "/4111111111111111/123/202512/ORDER-1//JOHN DOE/ZKIT_CORE");
  EXPECT_EQ(build("ORDER-1", newCard(ExpiryDate(2025, 3), "JOHN DOE")),
            prefix + "/4111111111111111/123/20253/ORDER-1//JOHN DOE/ZKIT_CORE");
  EXPECT_EQ(build("ORDER-1", storedCard("123")), prefix + "//123//ORDER-1/BIND-77//ZKIT_CORE");
  EXPECT_EQ(build("", storedCard(std::nullopt)), prefix + "/////BIND-77//ZKIT_CORE");
}

INSTANTIATE_TEST_SUITE_P(
    Zones, PaymentStringZoneTest,
    ::testing::Values(ZoneCase{"UTC", "2023-11-14T22:13:20+00:00"},
                      ZoneCase{"Europe/Moscow", "2023-11-15T01:13:20+03:00"},
                      ZoneCase{"GMT+03:00", "2023-11-15T01:13:20+03:00"},
                      ZoneCase{"Asia/Kolkata", "2023-11-15T03:43:20+05:30"},
                      ZoneCase{"America/Los_Angeles", "2023-11-14T14:13:20-08:00"},
                      // An unknown zone id falls back to UTC.
                      ZoneCase{"Nowhere/Special", "2023-11-14T22:13:20+00:00"}));

struct DateCase {
  std::int64_t timestamp;
  std::string zoneId;
  std::string date;
};

class PaymentStringDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(PaymentStringDateTest, RendersTheInstantInTheZone) {
  const DefaultPaymentStringProcessor processor(GetParam().zoneId);
  EXPECT_EQ(processor.formatDate(GetParam().timestamp), GetParam().date);
}

INSTANTIATE_TEST_SUITE_P(
    Instants, PaymentStringDateTest,
    ::testing::Values(DateCase{0, "UTC", "1970-01-01T00:00:00+00:00"},
                      DateCase{-1, "UTC", "1969-12-31T23:59:59+00:00"},
                      DateCase{-1, "Asia/Kolkata", "1970-01-01T05:29:59+05:30"},
                      DateCase{253402300799, "UTC", "9999-12-31T23:59:59+00:00"},
                      // Summer time in a zone west of UTC.
                      DateCase{1688000000, "America/New_York", "2023-06-28T20:53:20-04:00"}));

TEST(PaymentStringTest, EveryFieldKeepsItsSeparators) {
  const DefaultPaymentStringProcessor processor("UTC");
  const CoreCardInfo bare(CardIdentifier::newPaymentMethodIdentifier("4111"), std::nullopt,
                          std::nullopt, std::nullopt);
  EXPECT_EQ(processor.createPaymentString("", 0, "U", bare, ZKITRegisteredFrom::ZKIT_PAYMENT),
            "1970-01-01T00:00:00+00:00/U/4111//////ZKIT_PAYMENT");
  const CoreCardInfo january(CardIdentifier::newPaymentMethodIdentifier("4"), ExpiryDate(2030, 1),
                             std::nullopt, "A/B");
  // Values are inserted unchanged, even a separator inside one.
  EXPECT_EQ(processor.createPaymentString("O/1", 0, "U", january, ZKITRegisteredFrom::ZKIT_FORMS),
            "1970-01-01T00:00:00+00:00/U/4//20301/O/1//A/B/ZKIT_FORMS");
}

TEST(PaymentStringTest, TimestampsOutsideTheCalendarDoNotCrash) {
  const DefaultPaymentStringProcessor processor("UTC");
  for (std::int64_t timestamp :
       {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min(),
        std::int64_t{-62135596800}}) {
    const std::string date = processor.formatDate(timestamp);
    EXPECT_GE(date.size(), 25u) << timestamp;
    EXPECT_EQ(date.substr(date.size() - 6), "+00:00") << timestamp;
  }
}

TEST(PaymentStringTest, AgreesWithTheCLibraryOnRandomUtcInstants) {
  const DefaultPaymentStringProcessor processor("UTC");
  std::mt19937_64 random(42);
  std::uniform_int_distribution<std::int64_t> instants(-2208988800, 253402300799);
  for (int i = 0; i < 2000; ++i) {
    const std::int64_t timestamp = instants(random);
    ASSERT_EQ(processor.formatDate(timestamp), utcDate(timestamp)) << timestamp;
  }
}

TEST(PaymentStringTest, OneProcessorServesManyThreads) {
  const DefaultPaymentStringProcessor processor("UTC");
  const CoreCardInfo info = newCard(ExpiryDate(2025, 12), "JOHN DOE");
  constexpr int kThreads = 8;
  constexpr int kCalls = 1000;
  std::vector<int> mismatches(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kCalls; ++i) {
        // Each thread formats its own instants so that a shared calendar would mix them up.
        const std::int64_t timestamp = kTimestamp + t * 100003 + i * 997;
        const std::string expected =
            utcDate(timestamp) + kRest + "/4111111111111111/123/202512/ORDER-1//JOHN DOE/ZKIT_CORE";
        if (processor.createPaymentString("ORDER-1", timestamp, kUuid, info,
                                          ZKITRegisteredFrom::ZKIT_CORE) != expected) {
          ++mismatches[static_cast<std::size_t>(t)];
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(std::count(mismatches.begin(), mismatches.end(), 0), kThreads);
}

// Sets TZ for the lifetime of the object and restores the previous value.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) previous_ = old;
    setenv("TZ", zone, 1);
  }
  ~ScopedTimeZone() {
    if (previous_) {
      setenv("TZ", previous_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
  }

 private:
  std::optional<std::string> previous_;
};

struct HostZoneCase {
  const char* tz;
  std::string date;
};

class PaymentStringHostZoneTest : public ::testing::TestWithParam<HostZoneCase> {};

TEST_P(PaymentStringHostZoneTest, DefaultProcessorFollowsTz) {
  const ScopedTimeZone zone(GetParam().tz);
  const DefaultPaymentStringProcessor processor;
  EXPECT_EQ(processor.formatDate(kTimestamp), GetParam().date);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, PaymentStringHostZoneTest,
    ::testing::Values(HostZoneCase{"UTC", "2023-11-14T22:13:20+00:00"},
                      HostZoneCase{"Europe/Moscow", "2023-11-15T01:13:20+03:00"},
                      HostZoneCase{"Asia/Kolkata", "2023-11-15T03:43:20+05:30"},
                      HostZoneCase{"UTC", "2023-11-14T22:13:20+00:00"}));

}  // namespace
}  // namespace sdkcore
