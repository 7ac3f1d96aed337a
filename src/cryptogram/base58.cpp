#include "sdkcore/base58.hpp"

#include <algorithm>
#include <array>

namespace sdkcore {
namespace {

constexpr std::string_view kAlphabet = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
constexpr std::uint8_t kNotInAlphabet = 0xFF;

constexpr std::array<std::uint8_t, 256> makeDigitTable() {
  std::array<std::uint8_t, 256> table{};
  table.fill(kNotInAlphabet);
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  }
  return table;
}

constexpr std::array<std::uint8_t, 256> kDigitTable = makeDigitTable();

// The big numbers are held in 32-bit limbs, least significant first, and grown by a whole
// group of digits at a time: the classic digit-by-digit walk costs one pass over the number per
// input character, which turns a long hostile identifier into seconds or minutes of work.
using Limbs = std::vector<std::uint32_t>;

// Five Base58 digits fit one 32-bit limb (58^5 < 2^32).
constexpr std::size_t kDigitsPerGroup = 5;
constexpr std::uint32_t kGroupBase = 58U * 58U * 58U * 58U * 58U;

// number = number * factor + addend, where factor and addend are below 2^32. The base is a
// compile-time constant so that the division per limb becomes a multiplication or a shift.
template <std::uint64_t base>
void multiplyAdd(Limbs& number, std::uint64_t factor, std::uint64_t addend) {
  std::uint64_t carry = addend;
  for (std::uint32_t& limb : number) {
    carry += limb * factor;
    limb = static_cast<std::uint32_t>(carry % base);
    carry /= base;
  }
  while (carry != 0) {
    number.push_back(static_cast<std::uint32_t>(carry % base));
    carry /= base;
  }
}

std::size_t leadingCount(auto range, auto value) {
  return static_cast<std::size_t>(
      std::find_if(range.begin(), range.end(), [value](auto c) { return c != value; }) -
      range.begin());
}

}  // namespace

std::string Base58::encode(std::span<const std::uint8_t> data) {
  const std::size_t zeros = leadingCount(data, std::uint8_t{0});
  // The value in limbs of base 58^5, fed up to three bytes at a time.
  const auto rest = data.subspan(zeros);
  Limbs groups;
  for (std::size_t pos = 0; pos < rest.size();) {
    std::uint32_t chunk = 0;
    std::uint32_t factor = 1;
    for (std::size_t i = 0; i < 3 && pos < rest.size(); ++i, ++pos) {
      chunk = chunk << 8 | rest[pos];
      factor <<= 8;
    }
    multiplyAdd<kGroupBase>(groups, factor, chunk);
  }

  std::string digits;
  for (std::uint32_t group : groups) {
    for (std::size_t i = 0; i < kDigitsPerGroup; ++i, group /= 58) {
      digits.push_back(kAlphabet[group % 58]);
    }
  }
  while (!digits.empty() && digits.back() == kAlphabet[0]) digits.pop_back();
  return std::string(zeros, kAlphabet[0]) + std::string(digits.rbegin(), digits.rend());
}

std::optional<std::vector<std::uint8_t>> Base58::decode(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::size_t ones = leadingCount(text, kAlphabet[0]);
  // The value in limbs of base 2^32, fed a group of up to five digits at a time.
  Limbs value;
  for (std::size_t pos = 0; pos < text.size();) {
    std::uint32_t group = 0;
    std::uint32_t factor = 1;
    for (std::size_t i = 0; i < kDigitsPerGroup && pos < text.size(); ++i, ++pos) {
      // Every byte of a character outside ASCII is outside the table too.
      const std::uint8_t digit = kDigitTable[static_cast<unsigned char>(text[pos])];
      if (digit == kNotInAlphabet) return std::nullopt;
      group = group * 58 + digit;
      factor *= 58;
    }
    multiplyAdd<std::uint64_t{1} << 32>(value, factor, group);
  }

  std::vector<std::uint8_t> bytes(ones, 0);
  bytes.reserve(ones + value.size() * 4);
  bool leading = true;
  for (auto limb = value.rbegin(); limb != value.rend(); ++limb) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      const auto byte = static_cast<std::uint8_t>(*limb >> shift);
      leading = leading && byte == 0;
      if (!leading) bytes.push_back(byte);
    }
  }
  return bytes;
}

}  // namespace sdkcore
