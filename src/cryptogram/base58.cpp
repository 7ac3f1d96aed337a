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

// Returns count * numerator / denominator + 1 without forming count * numerator, which could
// overflow for huge counts.
std::size_t scaledSize(std::size_t count, std::size_t numerator, std::size_t denominator) {
  return count / denominator * numerator + count % denominator * numerator / denominator + 1;
}

// Multiplies the big number in the last 'used' entries of 'digits' (most significant first, in
// base 'base') by 'factor' and adds 'carry'. Returns the new number of used entries.
std::size_t multiplyAdd(std::vector<std::uint8_t>& digits, std::size_t used, std::uint32_t factor,
                        std::uint32_t base, std::uint32_t carry) {
  std::size_t i = 0;
  for (auto it = digits.rbegin(); it != digits.rend() && (carry != 0 || i < used); ++it, ++i) {
    carry += factor * *it;
    *it = static_cast<std::uint8_t>(carry % base);
    carry /= base;
  }
  return i;
}

std::size_t leadingCount(auto range, auto value) {
  return static_cast<std::size_t>(
      std::find_if(range.begin(), range.end(), [value](auto c) { return c != value; }) -
      range.begin());
}

}  // namespace

std::string Base58::encode(std::span<const std::uint8_t> data) {
  const std::size_t zeros = leadingCount(data, std::uint8_t{0});
  const auto rest = data.subspan(zeros);
  std::vector<std::uint8_t> digits(scaledSize(rest.size(), 138, 100), 0);
  std::size_t used = 0;
  for (std::uint8_t byte : rest) used = multiplyAdd(digits, used, 256, 58, byte);

  const auto first = std::find_if(digits.begin(), digits.end(), [](auto d) { return d != 0; });
  std::string text(zeros, kAlphabet[0]);
  text.reserve(zeros + static_cast<std::size_t>(digits.end() - first));
  for (auto it = first; it != digits.end(); ++it) text.push_back(kAlphabet[*it]);
  return text;
}

std::optional<std::vector<std::uint8_t>> Base58::decode(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::size_t ones = leadingCount(text, kAlphabet[0]);
  std::vector<std::uint8_t> bytes(scaledSize(text.size() - ones, 733, 1000), 0);
  std::size_t used = 0;
  for (char c : text) {
    // Every byte of a character outside ASCII is outside the table too.
    const std::uint8_t digit = kDigitTable[static_cast<unsigned char>(c)];
    if (digit == kNotInAlphabet) return std::nullopt;
    used = multiplyAdd(bytes, used, 58, 256, digit);
  }
  const auto first = std::find_if(bytes.begin(), bytes.end(), [](auto b) { return b != 0; });
  std::vector<std::uint8_t> result(ones, 0);
  result.insert(result.end(), first, bytes.end());
  return result;
}

}  // namespace sdkcore
