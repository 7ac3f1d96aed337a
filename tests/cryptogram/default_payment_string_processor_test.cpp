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
#include "support/resource_use.hpp"

namespace sdkcore {
namespace {

using ::sdkcore::testing::utcDate;

constexpr std::int64_t kTimestamp = 1700000000;
constexpr char kUuid[] = "3F2504E0-4F89-41D3-9A0C-0305E82C3301";
constexpr char kRest[] = "/3F2504E0-4F89-41D3-9A0C-0305E82C3301";

// Sets TZ (and tzset()) for the lifetime of the object, then restores the previous zone.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) previous_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (previous_) {
      setenv("TZ", previous_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> previous_;
};

// Absent texts are empty fields.
PaymentCardFields newCard(std::optional<ExpiryDate> expiry, std::string_view holder) {
  return PaymentCardFields{"4111111111111111", "123", expiry, {}, holder};
}

PaymentCardFields storedCard(std::string_view cvv) {
  return PaymentCardFields{{}, cvv, std::nullopt, "BIND-77", {}};
}

std::string build(std::string_view order, const PaymentCardFields& info,
                  std::int64_t timestamp = kTimestamp) {
  return DefaultPaymentStringProcessor()
      .createPaymentString(order, timestamp, kUuid, info, ZKITRegisteredFrom::ZKIT_CORE)
      .value_or("<none>");
}

TEST(PaymentString, WorkedExamplesByteForByte) {
  const ScopedTimeZone zone("UTC");
  const std::string prefix = std::string("2023-11-14T22:13:20+00:00") + kRest;
  EXPECT_EQ(build("ORDER-1", newCard(ExpiryDate(2025, 12), "JOHN DOE")),
            prefix + "/4111111111111111/123/202512/ORDER-1//JOHN DOE/ZKIT_CORE");
  EXPECT_EQ(build("ORDER-1", newCard(ExpiryDate(2025, 3), "JOHN DOE")),
            prefix + "/4111111111111111/123/20253/ORDER-1//JOHN DOE/ZKIT_CORE");
  EXPECT_EQ(build("ORDER-1", storedCard("123")), prefix + "//123//ORDER-1/BIND-77//ZKIT_CORE");
  EXPECT_EQ(build("", storedCard({})), prefix + "/////BIND-77//ZKIT_CORE");
}

TEST(PaymentString, EveryFieldKeepsItsSeparators) {
  const ScopedTimeZone zone("UTC");
  const DefaultPaymentStringProcessor processor;
  const PaymentCardFields bare{"4111", {}, std::nullopt, {}, {}};
  EXPECT_EQ(processor.createPaymentString("", 0, "U", bare, ZKITRegisteredFrom::ZKIT_PAYMENT),
            "1970-01-01T00:00:00+00:00/U/4111//////ZKIT_PAYMENT");
  const PaymentCardFields january{"4", {}, ExpiryDate(2030, 1), {}, "A/B"};
  // Values are inserted unchanged, even a separator inside one.
  EXPECT_EQ(processor.createPaymentString("O/1", 0, "U", january, ZKITRegisteredFrom::ZKIT_FORMS),
            "1970-01-01T00:00:00+00:00/U/4//20301/O/1//A/B/ZKIT_FORMS");
}

// The expiry field is ExpiryDate::format(), down to the widest values the date holds.
TEST(PaymentString, ExpiryFieldIsTheDateFormat) {
  const ScopedTimeZone zone("UTC");
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  for (const ExpiryDate date :
       {ExpiryDate(-5, 0), ExpiryDate(kMin, kMin), ExpiryDate(kMax, kMin), ExpiryDate(0, kMax)}) {
    const std::string built = build("O", newCard(date, {}));
    EXPECT_NE(built.find("/123/" + date.format() + "/O/"), std::string::npos) << built;
  }
}

// What the C library itself writes for the instant, with the colon put into the offset.
std::string strftimeDate(std::int64_t timestamp) {
  const std::time_t instant = timestamp;
  std::tm local{};
  if (localtime_r(&instant, &local) == nullptr) return "<localtime_r failed>";
  char text[64];
  std::string date(text, std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local));
  return date.insert(date.size() - 2, ":");
}

class LocalDate : public ::testing::TestWithParam<const char*> {};

// Zones cover: UTC; half-hour, 45-minute and negative offsets; rules changed after 2022; local
// mean times with seconds in their offsets; POSIX rule strings; a ":"-prefixed name.
TEST_P(LocalDate, AgreesWithStrftimeOnRandomInstantsFrom1900To2100) {
  const ScopedTimeZone zone(GetParam());
  std::mt19937_64 random(20250701);
  // Where time_t has 32 bits, the instants it holds (1901-12-13 to 2038-01-19).
  using Limits = std::numeric_limits<std::time_t>;
  std::uniform_int_distribution<std::int64_t> instants(
      std::max<std::int64_t>(-2208988800, Limits::min()),
      std::min<std::int64_t>(4102444800, Limits::max()));
  for (int i = 0; i < 3000; ++i) {
    const std::int64_t timestamp = instants(random);
    ASSERT_EQ(DefaultPaymentStringProcessor::formatDate(timestamp), strftimeDate(timestamp))
        << GetParam() << " at " << timestamp;
  }
}

INSTANTIATE_TEST_SUITE_P(Zones, LocalDate,
                         ::testing::Values("UTC", "Asia/Kolkata", "Asia/Kathmandu",
                                           "Australia/Eucla", "America/St_Johns",
                                           "America/Los_Angeles", "America/Mexico_City",
                                           "Asia/Almaty", "Europe/Amsterdam", "Africa/Monrovia",
                                           "IST-5:30", "<+0530>-5:30", "CET-1CEST,M3.5.0,M10.5.0/3",
                                           ":Europe/Berlin"));

struct DateCase {
  const char* zone;
  std::int64_t timestamp;
  const char* date;
};

class LocalDateKnownAnswer : public ::testing::TestWithParam<DateCase> {};

// Before the first time_t (1901-12-13 where it has 32 bits) the zone's offset is unknown.
std::optional<std::string> expectedDate(const DateCase& row) {
  if (row.timestamp < std::numeric_limits<std::time_t>::min()) return std::nullopt;
  return row.date;
}

TEST_P(LocalDateKnownAnswer, IsTheZonesWallClockAndOffset) {
  const ScopedTimeZone zone(GetParam().zone);
  EXPECT_EQ(DefaultPaymentStringProcessor::formatDate(GetParam().timestamp),
            expectedDate(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Instants, LocalDateKnownAnswer,
    ::testing::Values(
        DateCase{"UTC", 0, "1970-01-01T00:00:00+00:00"},
        DateCase{"UTC", -1, "1969-12-31T23:59:59+00:00"},
        DateCase{"Asia/Kolkata", -1, "1970-01-01T05:29:59+05:30"},
        DateCase{"IST-5:30", kTimestamp, "2023-11-15T03:43:20+05:30"},
        // Mexico dropped daylight-saving time in 2022.
        DateCase{"America/Mexico_City", 1751371200, "2025-07-01T06:00:00-06:00"},
        // Daylight-saving changes, both ways, in an Olson zone and in a POSIX rule.
        DateCase{"America/New_York", 1678604399, "2023-03-12T01:59:59-05:00"},
        DateCase{"America/New_York", 1678604400, "2023-03-12T03:00:00-04:00"},
        DateCase{"America/New_York", 1699163999, "2023-11-05T01:59:59-04:00"},
        DateCase{"America/New_York", 1699164000, "2023-11-05T01:00:00-05:00"},
        DateCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1679792399, "2023-03-26T01:59:59+01:00"},
        DateCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1679792400, "2023-03-26T03:00:00+02:00"},
        DateCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1698541199, "2023-10-29T02:59:59+02:00"},
        DateCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1698541200, "2023-10-29T02:00:00+01:00"},
        // Local mean time +00:19:32: the clock uses the seconds, the offset drops them.
        DateCase{"Europe/Amsterdam", -2208988800, "1900-01-01T00:19:32+00:19"},
        // Proleptic Gregorian years, at least four digits, astronomical numbering.
        DateCase{"UTC", -62135596801, "0000-12-31T23:59:59+00:00"},
        DateCase{"UTC", -62230377600, "-0003-12-31T00:00:00+00:00"},
        DateCase{"UTC", 253402300800, "10000-01-01T00:00:00+00:00"}));

// Past 2038-01-19, answers of a 64-bit time_t build: a 32-bit time_t build must give the same.
// Daylight-saving changes in 2050 and 2100, and dates after 2100-02-28, where the calendar of
// 2100 (not a leap year) parts from that of 28 years earlier.
INSTANTIATE_TEST_SUITE_P(
    PastTheLast32BitTime, LocalDateKnownAnswer,
    ::testing::Values(DateCase{"UTC", 2147483648, "2038-01-19T03:14:08+00:00"},
                      DateCase{"UTC", 2200000000, "2039-09-18T23:06:40+00:00"},
                      DateCase{"UTC", 4102444800, "2100-01-01T00:00:00+00:00"},
                      DateCase{"UTC", 7263604800, "2200-03-05T12:00:00+00:00"},
                      DateCase{"America/New_York", 2147483648, "2038-01-18T22:14:08-05:00"},
                      DateCase{"America/New_York", 2200000000, "2039-09-18T19:06:40-04:00"},
                      DateCase{"America/New_York", 4102444800, "2099-12-31T19:00:00-05:00"},
                      DateCase{"America/New_York", 2530767599, "2050-03-13T01:59:59-05:00"},
                      DateCase{"America/New_York", 2530767600, "2050-03-13T03:00:00-04:00"},
                      DateCase{"America/New_York", 4096587599, "2099-10-25T00:59:59-04:00"},
                      DateCase{"America/New_York", 4108690799, "2100-03-14T01:59:59-05:00"},
                      DateCase{"America/New_York", 4108690800, "2100-03-14T03:00:00-04:00"},
                      DateCase{"America/New_York", 4129250399, "2100-11-07T01:59:59-04:00"},
                      DateCase{"America/New_York", 4129250400, "2100-11-07T01:00:00-05:00"},
                      DateCase{"America/New_York", 253402300800, "9999-12-31T19:00:00-05:00"},
                      DateCase{"Asia/Kolkata", 2147483648, "2038-01-19T08:44:08+05:30"},
                      DateCase{"Asia/Kolkata", 2200000000, "2039-09-19T04:36:40+05:30"},
                      DateCase{"Asia/Kolkata", 4102444800, "2100-01-01T05:30:00+05:30"},
                      DateCase{"Asia/Kolkata", 253402300800, "10000-01-01T05:30:00+05:30"},
                      DateCase{"Europe/Amsterdam", 4128627599, "2100-10-31T02:59:59+02:00"},
                      DateCase{"Europe/Amsterdam", 4128627600, "2100-10-31T02:00:00+01:00"}));

TEST(LocalDateRange, DatesTheCLibraryCannotRepresentGiveNoPaymentString) {
  const ScopedTimeZone zone("UTC");
  for (std::int64_t timestamp :
       {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min(),
        std::int64_t{100000000000000000}}) {
    EXPECT_EQ(DefaultPaymentStringProcessor::formatDate(timestamp), std::nullopt) << timestamp;
    EXPECT_EQ(build("O", storedCard("123"), timestamp), "<none>") << timestamp;
  }
}

TEST(PaymentString, OneProcessorServesManyThreads) {
  const ScopedTimeZone zone("UTC");
  const DefaultPaymentStringProcessor processor;
  const PaymentCardFields info = newCard(ExpiryDate(2025, 12), "JOHN DOE");
  constexpr int kThreads = 8;
  std::vector<int> mismatches(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < testing::scaledForEmulator(1000); ++i) {
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

}  // namespace
}  // namespace sdkcore
