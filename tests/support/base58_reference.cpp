#include "support/base58_reference.hpp"

namespace sdkcore::testing {
namespace {

constexpr std::string_view kAlphabet = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";

// Multiplies the number held in 'digits' (least significant first, each below 'to') by 'from'
// and adds 'carry'.
void multiplyAdd(std::vector<int>& digits, int from, int to, int carry) {
  for (int& digit : digits) {
    carry += digit * from;
    digit = carry % to;
    carry /= to;
  }
  for (; carry != 0; carry /= to) digits.push_back(carry % to);
}

}  // namespace

std::string referenceBase58Encode(std::span<const std::uint8_t> data) {
  std::size_t zeros = 0;
  while (zeros < data.size() && data[zeros] == 0) ++zeros;
  std::vector<int> digits;
  for (std::size_t i = zeros; i < data.size(); ++i) multiplyAdd(digits, 256, 58, data[i]);
  std::string text(zeros, kAlphabet[0]);
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) text.push_back(kAlphabet[*it]);
  return text;
}

std::optional<std::vector<std::uint8_t>> referenceBase58Decode(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::size_t ones = 0;
  while (ones < text.size() && text[ones] == kAlphabet[0]) ++ones;
  std::vector<int> bytes;
  for (const char c : text) {
    const std::size_t digit = kAlphabet.find(c);
    if (digit == std::string_view::npos) return std::nullopt;
    multiplyAdd(bytes, 58, 256, static_cast<int>(digit));
  }
  std::vector<std::uint8_t> result(ones, 0);
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
    result.push_back(static_cast<std::uint8_t>(*it));
  }
  return result;
}

}  // namespace sdkcore::testing
