#include "base64.hpp"

#include <openssl/evp.h>

#include <algorithm>
#include <array>

namespace sdkcore::base64 {
namespace {

constexpr std::uint8_t kInvalid = 0xFF;

constexpr std::array<std::uint8_t, 256> makeDecodeTable() {
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
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
  if (data.empty()) return {};
  // EVP_EncodeBlock writes one line without line breaks, plus a NUL; it takes an int length.
  // Encode in whole groups of three bytes so any size works, straight into the result.
  constexpr std::size_t kChunk = 3 * (1 << 20);
  std::string text((data.size() + 2) / 3 * 4 + 1, '\0');
  std::size_t written = 0;
  for (std::size_t offset = 0; offset < data.size(); offset += kChunk) {
    const auto chunk = data.subspan(offset, std::min(kChunk, data.size() - offset));
    written += static_cast<std::size_t>(
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data() + written), chunk.data(),
                        static_cast<int>(chunk.size())));
  }
  text.resize(written);
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
