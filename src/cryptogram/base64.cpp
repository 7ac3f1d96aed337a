#include "base64.hpp"

#include <array>
#include <cstring>

namespace sdkcore::base64 {
namespace {

constexpr std::uint8_t kInvalid = 0xFF;

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The two characters of every 12-bit value.
constexpr std::array<std::array<char, 2>, 4096> makePairTable() {
  std::array<std::array<char, 2>, 4096> pairs{};
  for (std::size_t i = 0; i < pairs.size(); ++i)
    pairs[i] = {kAlphabet[i >> 6], kAlphabet[i & 0x3F]};
  return pairs;
}

constexpr std::array<std::array<char, 2>, 4096> kPairs = makePairTable();

constexpr std::array<std::uint8_t, 256> makeDecodeTable() {
  std::array<std::uint8_t, 256> table{};
  table.fill(kInvalid);
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  }
  return table;
}

constexpr std::array<std::uint8_t, 256> kDecodeTable = makeDecodeTable();

std::size_t paddingLength(std::string_view text) {
  if (text.ends_with("==")) return 2;
  if (text.ends_with("=")) return 1;
  return 0;
}

}  // namespace

std::string encode(std::span<const std::uint8_t> data) {
  // Written here rather than with EVP_EncodeBlock: a token's cipher text is encoded on every
  // call, and looking up two characters per 12 bits halves the work of a character per 6 bits.
  std::string text((data.size() + 2) / 3 * 4, '=');
  char* out = text.data();
  std::size_t at = 0;
  for (; at + 3 <= data.size(); at += 3, out += 4) {
    const std::uint32_t group =
        (std::uint32_t{data[at]} << 16) | (std::uint32_t{data[at + 1]} << 8) | data[at + 2];
    std::memcpy(out, kPairs[group >> 12].data(), 2);
    std::memcpy(out + 2, kPairs[group & 0xFFF].data(), 2);
  }
  if (const std::size_t rest = data.size() - at; rest > 0) {
    const std::uint32_t group =
        (std::uint32_t{data[at]} << 16) | (rest == 2 ? std::uint32_t{data[at + 1]} << 8 : 0);
    std::memcpy(out, kPairs[group >> 12].data(), 2);
    if (rest == 2) out[2] = kPairs[group & 0xFFF][0];  // the rest stays "="
  }
  return text;
}

// Hand-written because OpenSSL's decoders are lenient: EVP_DecodeBlock skips leading and trailing
// white space and control characters and does not tell how much padding it dropped, and
// EVP_DecodeUpdate skips line breaks and white space anywhere. A key text must be refused when
// any such character is left in it.
std::optional<std::vector<std::uint8_t>> decodeStrict(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  const std::size_t padding = paddingLength(text);
  const std::string_view body = text.substr(0, text.size() - padding);
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3);
  std::uint32_t buffer = 0;
  int bits = 0;
  for (char c : body) {
    const std::uint8_t value = kDecodeTable[static_cast<unsigned char>(c)];
    if (value == kInvalid) return std::nullopt;  // also any "=" that is not final padding
    buffer = (buffer << 6) | value;
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes.push_back(static_cast<std::uint8_t>(buffer >> bits));
      buffer &= (1U << bits) - 1;
    }
  }
  // With at most two "=" the last group keeps two or three characters, so it always holds whole
  // bytes; its unused low bits are ignored, as RFC 4648 permits.
  return bytes;
}

}  // namespace sdkcore::base64
