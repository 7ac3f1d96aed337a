#include "sdkcore/base58.hpp"

#include <algorithm>
#include <array>

#include "cryptogram/wide_multiply.hpp"

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

// Big numbers are held in 64-bit limbs, least significant first, and grown by a whole group of
// input at a time, so one pass over the number takes in 56 (encoding) or 58 bits (decoding): the
// textbook digit-by-digit walk needs seven to eight times as many passes.
using Limbs = std::vector<std::uint64_t>;

// Ten Base58 digits fit one 64-bit limb (58^10 < 2^64).
constexpr std::size_t kDigitsPerLimb = 10;
constexpr std::uint64_t kDigitLimbBase = 430804206899405824;   // 58^10
static_assert(kDigitLimbBase == 656356768ULL * 656356768ULL);  // (58^5)^2

// Encoding feeds two groups of seven bytes per pass. As 2^56 is below 58^10, the limbs of the
// base-58^10 number need no carry propagation while a group goes in: each limb splits into a
// quotient, carried to the next limb, and a remainder below 2 * 58^10, and every limb stays below
// 3 * 58^10 (as 2 * 58^10 + 3 * 58^10 * 2^56 / 58^10 + 2^56 < 3 * 58^10). A pass therefore has no
// chain of dependent carries and no division; one final pass normalises the limbs.
constexpr std::size_t kBytesPerGroup = 7;
constexpr unsigned kGroupBits = 8 * kBytesPerGroup;
// floor(2^120 / 58^10): limb * kReciprocal / 2^64 is limb * 2^56 / 58^10 less at most one.
constexpr std::uint64_t kReciprocal = 3085457324921840677;
// kReciprocal * 58^10 < 2^120 <= (kReciprocal + 1) * 58^10, the high halves compared with 2^56
static_assert(multiplyWide(kReciprocal, kDigitLimbBase).high < std::uint64_t{1} << kGroupBits);
static_assert(multiplyWide(kReciprocal + 1, kDigitLimbBase).high >= std::uint64_t{1} << kGroupBits);

// Returns limb * 2^56 + carry as a limb below 3 * 58^10 and sets 'carry' to what goes on to the
// next limb.
std::uint64_t shiftLimb(std::uint64_t limb, std::uint64_t& carry) {
  const std::uint64_t quotient = multiplyWide(limb, kReciprocal).high;
  // Exact modulo 2^64: the true remainder lies in [0, 2 * 58^10).
  const std::uint64_t remainder = (limb << kGroupBits) - quotient * kDigitLimbBase;
  const std::uint64_t result = remainder + carry;
  carry = quotient;
  return result;
}

// number = (number * 2^56 + high) * 2^56 + low, in one pass.
void shiftInGroups(Limbs& number, std::uint64_t high, std::uint64_t low) {
  for (std::uint64_t& limb : number) limb = shiftLimb(shiftLimb(limb, high), low);
  while ((high | low) != 0) number.push_back(shiftLimb(shiftLimb(0, high), low));
}

// Brings every limb below 58^10, keeping the value.
void normalise(Limbs& number) {
  std::uint64_t carry = 0;
  for (std::uint64_t& limb : number) {
    const std::uint64_t value = limb + carry;
    limb = value % kDigitLimbBase;
    carry = value / kDigitLimbBase;
  }
  for (; carry != 0; carry /= kDigitLimbBase) number.push_back(carry % kDigitLimbBase);
}

// Decoding feeds ten digits per pass into limbs of base 2^64.
void multiplyAdd(Limbs& number, std::uint64_t factor, std::uint64_t addend) {
  std::uint64_t carry = addend;
  for (std::uint64_t& limb : number) {
    const WideProduct product = multiplyWide(limb, factor);
    limb = product.low + carry;
    carry = product.high + (limb < carry ? 1 : 0);
  }
  if (carry != 0) number.push_back(carry);
}

std::size_t leadingCount(auto range, auto value) {
  return static_cast<std::size_t>(
      std::find_if(range.begin(), range.end(), [value](auto c) { return c != value; }) -
      range.begin());
}

// The size of the first group of 'size' items, so that every later group is full.
std::size_t firstGroupSize(std::size_t size, std::size_t groupSize) {
  const std::size_t partial = size % groupSize;
  return partial == 0 ? groupSize : partial;
}

}  // namespace

std::string Base58::encode(std::span<const std::uint8_t> data) {
  const std::size_t zeros = leadingCount(data, std::uint8_t{0});
  const auto rest = data.subspan(zeros);
  // The bytes, read as if preceded by enough zero bytes to fill whole pairs of groups.
  constexpr std::size_t kPairBytes = 2 * kBytesPerGroup;
  const std::size_t padding = (kPairBytes - rest.size() % kPairBytes) % kPairBytes;
  const auto readGroup = [&](std::size_t at) {
    std::uint64_t group = 0;
    for (std::size_t i = at; i < at + kBytesPerGroup; ++i) {
      group = group << 8 | (i < padding ? 0 : rest[i - padding]);
    }
    return group;
  };
  Limbs number;
  number.reserve(rest.size() * 8 / 58 + 2);
  for (std::size_t at = 0; at < padding + rest.size(); at += kPairBytes) {
    shiftInGroups(number, readGroup(at), readGroup(at + kBytesPerGroup));
  }
  normalise(number);

  std::string text(zeros, kAlphabet[0]);
  text.reserve(zeros + number.size() * kDigitsPerLimb);
  bool leading = true;
  for (auto limb = number.rbegin(); limb != number.rend(); ++limb) {
    std::array<char, kDigitsPerLimb> digits{};
    std::uint64_t value = *limb;
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit, value /= 58) {
      *digit = kAlphabet[value % 58];
    }
    for (const char digit : digits) {
      leading = leading && digit == kAlphabet[0];
      if (!leading) text.push_back(digit);
    }
  }
  return text;
}

std::optional<std::vector<std::uint8_t>> Base58::decode(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::size_t ones = leadingCount(text, kAlphabet[0]);
  Limbs number;
  number.reserve(text.size() * 733 / 8000 + 2);
  std::size_t groupSize = firstGroupSize(text.size(), kDigitsPerLimb);
  for (std::size_t pos = 0; pos < text.size(); pos += groupSize, groupSize = kDigitsPerLimb) {
    std::uint64_t group = 0;
    std::uint64_t factor = 1;
    for (std::size_t i = pos; i < pos + groupSize; ++i) {
      // Every byte of a character outside ASCII is outside the table too.
      const std::uint8_t digit = kDigitTable[static_cast<unsigned char>(text[i])];
      if (digit == kNotInAlphabet) return std::nullopt;
      group = group * 58 + digit;
      factor *= 58;
    }
    multiplyAdd(number, factor, group);
  }

  std::vector<std::uint8_t> bytes(ones, 0);
  bytes.reserve(ones + number.size() * 8);
  bool leading = true;
  for (auto limb = number.rbegin(); limb != number.rend(); ++limb) {
    for (int shift = 56; shift >= 0; shift -= 8) {
      const auto byte = static_cast<std::uint8_t>(*limb >> shift);
      leading = leading && byte == 0;
      if (!leading) bytes.push_back(byte);
    }
  }
  return bytes;
}

}  // namespace sdkcore
