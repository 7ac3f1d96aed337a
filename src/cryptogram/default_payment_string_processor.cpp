#include "cryptogram/default_payment_string_processor.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <ctime>
#include <limits>
#include <string>
#include <string_view>

#include "base/wiped_text.hpp"

namespace sdkcore {
namespace {

// Writes 'value' in decimal, zero-padded to at least 'width' digits, at 'out'; returns the end.
char* putNumber(char* out, std::uint64_t value, std::ptrdiff_t width) {
  if (width == 2 && value < 100) {  // every field but the year
    *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
  }
  std::array<char, 20> digits;
  char* const end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  for (std::ptrdiff_t n = end - digits.data(); n < width; ++n) *out++ = '0';
  return std::copy(digits.data(), end, out);
}

std::uint64_t magnitude(long long value) {
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// The date field, written into a fixed buffer: at most 20 digits and a sign for the year.
struct DateText {
  std::array<char, 48> bytes;
  std::size_t size;
  std::string_view view() const noexcept { return {bytes.data(), size}; }
};

constexpr std::int64_t kSecondsPerDay = 86400;

constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b < 0 ? 1 : 0);
}

// A proleptic Gregorian date from days since 1970-01-01 and back, in 64-bit arithmetic: the
// year counts from March, so that the leap day ends it (eras of 400 years, 146,097 days).
// Written out rather than taken from <chrono>: std::chrono::year stops at 32767 and days may
// have 32 bits, while time stamps reach every year that struct tm holds.
struct CivilDate {
  std::int64_t year;
  unsigned month;  // 1 to 12
  unsigned day;    // 1 to 31
};

constexpr CivilDate civilFromDays(std::int64_t days) {
  const std::int64_t shifted = days + 719468;  // from 0000-03-01
  const std::int64_t era = floorDiv(shifted, 146097);
  const auto dayOfEra = static_cast<unsigned>(shifted - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned monthFromMarch = (5 * dayOfYear + 2) / 153;
  const unsigned month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
  return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month,
          dayOfYear - (153 * monthFromMarch + 2) / 5 + 1};
}

// Days since 1970-01-01 of January 1 of 'year'.
constexpr std::int64_t daysToNewYear(std::int64_t year) {
  const std::int64_t marchYear = year - 1;  // January belongs to the year from the March before
  const std::int64_t era = floorDiv(marchYear, 400);
  const std::int64_t yearOfEra = marchYear - era * 400;
  return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + 306 - 719468;
}
static_assert(civilFromDays(daysToNewYear(2100)).year == 2100);
static_assert(civilFromDays(daysToNewYear(-4)).month == 1);

constexpr bool isLeapYear(std::int64_t year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// The zone's offset from UTC at 'instant', in seconds, from the C library.
std::optional<long> offsetFromCLibrary(std::time_t instant) {
  std::tm local{};
  if (localtime_r(&instant, &local) == nullptr) return std::nullopt;
  return local.tm_gmtoff;
}

// The last year that time_t holds whole (2037 where it has 32 bits).
constexpr std::int64_t kLastWholeYear =
    civilFromDays(static_cast<std::int64_t>(std::numeric_limits<std::time_t>::max()) /
                  kSecondsPerDay)
        .year -
    1;

// The zone's offset from UTC at 'timestamp', in seconds. Past the range of time_t, the offset
// at the same date, weekday and time of the latest year time_t holds whose calendar is the same
// (January 1 on the same weekday, leap or not): a zone keeps one rule for every year after its
// last change. Before that range (1901-12-13 where time_t has 32 bits) the zone's rules are
// unknown: nullopt.
std::optional<long> utcOffset(std::int64_t timestamp) {
  using Limits = std::numeric_limits<std::time_t>;
  if (timestamp >= Limits::min() && timestamp <= Limits::max()) {
    return offsetFromCLibrary(static_cast<std::time_t>(timestamp));
  }
  if (timestamp < 0) return std::nullopt;
  const std::int64_t year = civilFromDays(floorDiv(timestamp, kSecondsPerDay)).year;
  const std::int64_t newYear = daysToNewYear(year);
  // Every kind of year (7 weekdays, leap or not) recurs within 28 years, 40 across a century
  // year that is not leap.
  for (std::int64_t alike = kLastWholeYear; alike > kLastWholeYear - 40; --alike) {
    const std::int64_t daysBack = newYear - daysToNewYear(alike);
    if (daysBack % 7 == 0 && isLeapYear(alike) == isLeapYear(year)) {
      return offsetFromCLibrary(static_cast<std::time_t>(timestamp - daysBack * kSecondsPerDay));
    }
  }
  return std::nullopt;
}

// The local wall clock as the fields of the date text.
struct WallClock {
  CivilDate date;
  std::int64_t secondOfDay;
};

// Nullopt when the year does not fit struct tm, whose bounds localtime_r keeps.
std::optional<WallClock> wallClock(std::int64_t timestamp, long offset) {
  std::int64_t local = 0;
  if (__builtin_add_overflow(timestamp, offset, &local)) return std::nullopt;
  const std::int64_t days = floorDiv(local, kSecondsPerDay);
  const WallClock clock{civilFromDays(days), local - days * kSecondsPerDay};
  using IntLimits = std::numeric_limits<int>;
  if (clock.date.year - 1900 > IntLimits::max() || clock.date.year - 1900 < IntLimits::min()) {
    return std::nullopt;
  }
  return clock;
}

std::optional<DateText> dateText(std::int64_t timestamp) {
  const std::optional<long> offset = utcOffset(timestamp);
  if (!offset) return std::nullopt;
  const std::optional<WallClock> clock = wallClock(timestamp, *offset);
  if (!clock) return std::nullopt;
  const std::int64_t year = clock->date.year;
  const auto second = static_cast<std::uint64_t>(clock->secondOfDay);
  // As strftime's %z: the sign, then the whole hours and minutes of the offset's magnitude.
  const std::uint64_t offsetMinutes = magnitude(*offset) / 60;
  DateText text;
  char* out = text.bytes.data();
  if (year < 0) *out++ = '-';
  out = putNumber(out, magnitude(year), 4);
  *out++ = '-';
  out = putNumber(out, clock->date.month, 2);
  *out++ = '-';
  out = putNumber(out, clock->date.day, 2);
  *out++ = 'T';
  out = putNumber(out, second / 3600, 2);
  *out++ = ':';
  out = putNumber(out, second / 60 % 60, 2);
  *out++ = ':';
  out = putNumber(out, second % 60, 2);
  *out++ = *offset < 0 ? '-' : '+';
  out = putNumber(out, offsetMinutes / 60, 2);
  *out++ = ':';
  out = putNumber(out, offsetMinutes % 60, 2);
  text.size = static_cast<std::size_t>(out - text.bytes.data());
  return text;
}

// The expiry as ExpiryDate::format() writes it (year then month, unpadded), without building a
// string; wiped when it goes out of scope.
class ExpiryText {
 public:
  explicit ExpiryText(const std::optional<ExpiryDate>& date) noexcept {
    if (!date) return;
    char* const end = bytes_.data() + bytes_.size();
    char* out = std::to_chars(bytes_.data(), end, date->expYear()).ptr;
    size_ = static_cast<std::size_t>(std::to_chars(out, end, date->expMonth()).ptr - bytes_.data());
  }
  ~ExpiryText() { wipeBytes(bytes_.data(), bytes_.size()); }
  ExpiryText(const ExpiryText&) = delete;
  ExpiryText& operator=(const ExpiryText&) = delete;
  std::string_view view() const noexcept { return {bytes_.data(), size_}; }

 private:
  std::array<char, 40> bytes_{};  // two 64-bit numbers with their signs
  std::size_t size_ = 0;
};

// Joins the fields with the separator into a string allocated once at its final size. Growing
// the string step by step would leave copies of its beginning (card number and security code
// included) in freed buffers that the caller's wipe of the result cannot reach.
template <std::size_t N>
std::string joinFields(const std::array<std::string_view, N>& fields) {
  std::size_t size = (N - 1) * DefaultPaymentStringProcessor::SPLASH.size();
  for (std::string_view field : fields) size += field.size();
  static_assert(DefaultPaymentStringProcessor::SPLASH.size() == 1);
  std::string out(size, DefaultPaymentStringProcessor::SPLASH[0]);
  char* at = std::copy(fields[0].begin(), fields[0].end(), out.data());
  for (std::size_t i = 1; i < N; ++i) at = std::copy(fields[i].begin(), fields[i].end(), at + 1);
  return out;
}

}  // namespace

std::optional<std::string> DefaultPaymentStringProcessor::formatDate(std::int64_t timestamp) {
  const std::optional<DateText> date = dateText(timestamp);
  if (!date) return std::nullopt;
  return std::string(date->view());
}

std::optional<std::string> DefaultPaymentStringProcessor::createPaymentString(
    std::string_view mdOrder, std::int64_t timestamp, std::string_view uuid,
    const PaymentCardFields& card, ZKITRegisteredFrom registeredFrom) const {
  const std::optional<DateText> date = dateText(timestamp);
  if (!date) return std::nullopt;
  const ExpiryText expiry(card.expiry);
  return joinFields(std::array<std::string_view, 9>{date->view(), uuid, card.pan, card.cvv,
                                                    expiry.view(), mdOrder, card.storedId,
                                                    card.cardHolder, rawValue(registeredFrom)});
}

}  // namespace sdkcore
