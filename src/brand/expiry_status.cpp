// As-you-type status of an expiry date: "MM/YY" and its looser forms.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string_view>

#include "brand/ascii_digits.hpp"
#include "sdkcore/card_brand.hpp"

namespace sdkcore {
namespace {

constexpr int kYearsAhead = 19;
constexpr int kCentury = 2000;  // of a two-digit year

struct Interval {
  int first;
  int last;
};

// The values of the 'width'-digit numbers that begin with 'digits' (at most 'width' of them).
constexpr Interval completions(std::string_view digits, std::size_t width) noexcept {
  int value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  const int scale = powerOfTen(width - digits.size());
  return {value * scale, (value + 1) * scale - 1};
}

constexpr Interval shifted(Interval interval, int offset) noexcept {
  return {interval.first + offset, interval.last + offset};
}

// The months an expiry date may name: from 'now' to the end of the year 19 years later.
class ExpiryWindow {
 public:
  explicit ExpiryWindow(std::chrono::year_month now) noexcept
      : firstYear_(static_cast<int>(now.year())),
        firstMonth_(static_cast<int>(static_cast<unsigned>(now.month()))) {}

  // Whether some month of 'months' (clipped to 1..12) in some year of 'years' lies inside.
  bool reaches(Interval months, Interval years) const noexcept {
    const int lastMonth = std::min(months.last, 12);
    if (std::max(months.first, 1) > lastMonth) return false;
    // The latest month of the box within the window's last year decides.
    const int year = std::min(years.last, firstYear_ + kYearsAhead);
    if (year < years.first) return false;
    return year > firstYear_ || (year == firstYear_ && lastMonth >= firstMonth_);
  }

 private:
  int firstYear_;
  int firstMonth_;
};

ExpiryStatus atLeast(ExpiryStatus status, bool condition, ExpiryStatus ifTrue) noexcept {
  return condition ? std::max(status, ifTrue) : status;
}

// Drops the separator: spaces, and a "/" with spaces after it. False when spaces are followed
// by anything but "/".
bool skipSeparator(std::string_view& text) noexcept {
  const std::size_t spaces = std::min(text.find_first_not_of(' '), text.size());
  text.remove_prefix(spaces);
  if (!text.empty() && text.front() == '/') {
    text.remove_prefix(1);
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  } else if (spaces > 0 && !text.empty()) {
    return false;
  }
  return true;
}

// The status of 'text' read with a month of 'monthDigits' digits.
ExpiryStatus statusWithMonthOf(std::string_view text, std::size_t monthDigits,
                               const ExpiryWindow& window) noexcept {
  constexpr Interval kAnyYear = {0, 9999};
  if (text.size() < monthDigits) {
    const bool open =
        isAsciiDigits(text) && window.reaches(completions(text, monthDigits), kAnyYear);
    return open ? ExpiryStatus::potentiallyValid : ExpiryStatus::invalid;
  }
  const std::string_view monthText = text.substr(0, monthDigits);
  std::string_view year = text.substr(monthDigits);
  if (!isAsciiDigits(monthText) || !skipSeparator(year)) return ExpiryStatus::invalid;
  if (year.size() > 4 || !isAsciiDigits(year)) return ExpiryStatus::invalid;
  const Interval month = completions(monthText, monthDigits);
  ExpiryStatus status = ExpiryStatus::invalid;
  if (year.size() <= 2) {
    const Interval years = shifted(completions(year, 2), kCentury);
    status = atLeast(status, window.reaches(month, years), ExpiryStatus::potentiallyValid);
    status = atLeast(status, year.size() == 2 && window.reaches(month, years), ExpiryStatus::valid);
  }
  const Interval years = completions(year, 4);
  status = atLeast(status, window.reaches(month, years), ExpiryStatus::potentiallyValid);
  return atLeast(status, year.size() == 4 && window.reaches(month, years), ExpiryStatus::valid);
}

}  // namespace

ExpiryStatus expiryStatus(std::string_view text, std::chrono::year_month now) noexcept {
  if (!now.ok()) return ExpiryStatus::invalid;
  const ExpiryWindow window(now);
  return std::max(statusWithMonthOf(text, 1, window), statusWithMonthOf(text, 2, window));
}

}  // namespace sdkcore
