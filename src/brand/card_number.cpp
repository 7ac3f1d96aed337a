// Brand detection, validity and display grouping of a typed card number.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "brand/ascii_digits.hpp"
#include "brand/prefix_index.hpp"
#include "sdkcore/card_brand.hpp"

namespace sdkcore {
namespace {

constexpr bool isSeparator(char c) noexcept { return c == ' ' || c == '-'; }

// One pass over a typed number. Separators are skipped; each digit goes to the brand lookup and
// to the Luhn sums at once, so the digits are never copied.
class NumberScan {
 public:
  explicit NumberScan(std::string_view text) : cursor_(PrefixIndex::shared()) {
    for (const char c : text) {
      if (isSeparator(c)) continue;
      if (!isAsciiDigit(c)) {
        wellFormed_ = false;
        return;
      }
      add(c - '0');
    }
  }

  // No candidates for a text with any other character.
  BrandSet candidates() const noexcept { return wellFormed_ ? cursor_.candidates() : 0; }
  std::size_t digitCount() const noexcept { return count_; }
  // The check digit is the last one, so from the right every second digit is doubled.
  bool passesLuhn() const noexcept { return luhnSums_[count_ % 2] == 0; }

 private:
  void add(int digit) noexcept {
    cursor_.add(digit);
    const int doubled = digit < 5 ? 2 * digit : 2 * digit - 9;
    // luhnSums_[p] is the sum for a count of parity p: the digits at positions of parity p
    // (counted from 0 on the left) are the doubled ones then.
    const bool even = count_ % 2 == 0;
    luhnSums_[0] = (luhnSums_[0] + (even ? doubled : digit)) % 10;
    luhnSums_[1] = (luhnSums_[1] + (even ? digit : doubled)) % 10;
    ++count_;
  }

  PrefixCursor cursor_;
  std::size_t count_ = 0;
  int luhnSums_[2] = {0, 0};
  bool wellFormed_ = true;
};

const CardBrand& firstBrandOf(BrandSet brands) {
  return cardBrands()[static_cast<std::size_t>(std::countr_zero(brands))];
}

struct Verdict {
  bool potentiallyValid;
  bool valid;
};

Verdict judge(std::string_view text) {
  const NumberScan scan(text);
  const BrandSet brands = scan.candidates();
  if (brands == 0) return {false, false};
  if (!std::has_single_bit(brands)) return {true, false};
  const CardBrand& brand = firstBrandOf(brands);
  const std::size_t length = scan.digitCount();
  const bool issued =
      std::find(brand.lengths.begin(), brand.lengths.end(), length) != brand.lengths.end();
  const bool valid = issued && (!brand.luhn || scan.passesLuhn());
  return {valid || length < static_cast<std::size_t>(brand.lengths.back()), valid};
}

}  // namespace

std::vector<CardBrand> detectCardBrands(std::string_view text) {
  BrandSet brands = NumberScan(text).candidates();
  std::vector<CardBrand> result;
  result.reserve(static_cast<std::size_t>(std::popcount(brands)));
  for (; brands != 0; brands &= static_cast<BrandSet>(brands - 1)) {
    result.push_back(firstBrandOf(brands));
  }
  return result;
}

std::string formatCardNumber(std::string_view text) {
  const BrandSet brands = NumberScan(text).candidates();
  const std::span<const int> gaps =
      brands != 0 ? firstBrandOf(brands).gaps : std::span<const int>();
  const auto gapAfter = [&](std::size_t digits) {
    if (brands == 0) return digits % 4 == 0;
    return std::find(gaps.begin(), gaps.end(), digits) != gaps.end();
  };
  const auto digits =
      static_cast<std::size_t>(std::count_if(text.begin(), text.end(), isAsciiDigit));
  std::size_t spaces = 0;
  for (std::size_t count = 1; count < digits; ++count) spaces += gapAfter(count) ? 1 : 0;
  // Sized once, so no reallocation leaves a partial copy of the number in freed memory.
  std::string formatted;
  formatted.reserve(digits + spaces);
  std::size_t written = 0;
  for (const char c : text) {
    if (!isAsciiDigit(c)) continue;
    if (written > 0 && gapAfter(written)) formatted.push_back(' ');
    formatted.push_back(c);
    ++written;
  }
  return formatted;
}

bool isValidCardNumber(std::string_view text) { return judge(text).valid; }

bool isPotentiallyValidCardNumber(std::string_view text) { return judge(text).potentiallyValid; }

}  // namespace sdkcore
