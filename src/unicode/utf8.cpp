#include "unicode/utf8.hpp"

#include <cstdint>
#include <cstring>

namespace sdkcore::unicode {
namespace {

// The bytes that may follow each lead byte of a multi-byte sequence, second byte first: the
// narrower ranges after E0, ED, F0 and F4 exclude overlong forms, surrogates and values above
// U+10FFFF, so a sequence is well-formed exactly when every byte is in range.
struct SecondByte {
  unsigned char low;
  unsigned char high;
};

constexpr SecondByte secondByteRange(unsigned lead) noexcept {
  switch (lead) {
    case 0xE0:
      return {0xA0, 0xBF};
    case 0xED:
      return {0x80, 0x9F};
    case 0xF0:
      return {0x90, 0xBF};
    case 0xF4:
      return {0x80, 0x8F};
    default:
      return {0x80, 0xBF};
  }
}

const unsigned char* bytesOf(std::string_view text) noexcept {
  return reinterpret_cast<const unsigned char*>(text.data());
}

// The length of the ASCII run of 'text' from 'at', eight bytes at a time.
std::size_t asciiRun(std::string_view text, std::size_t at) noexcept {
  std::size_t end = at;
  for (std::uint64_t word; end + 8 <= text.size(); end += 8) {
    std::memcpy(&word, text.data() + end, sizeof word);
    if ((word & 0x8080808080808080ULL) != 0) break;
  }
  while (end < text.size() && bytesOf(text)[end] < 0x80) ++end;
  return end - at;
}

// True when 'd', decoded at 'at', is a code point and not the stand-in for ill-formed bytes.
// A maximal ill-formed subsequence that starts with EF is at most two bytes long.
bool wellFormed(std::string_view text, std::size_t at, Decoded d) noexcept {
  return d.codePoint != kReplacementCharacter || (d.length == 3 && bytesOf(text)[at] == 0xEF);
}

}  // namespace

// When a byte is out of range, the bytes before it (at least the lead) are the maximal ill-formed
// subsequence.
Decoded detail::decodeMultibyte(std::string_view text, std::size_t at) noexcept {
  const unsigned char* bytes = bytesOf(text) + at;
  const std::size_t available = text.size() - at;
  const unsigned lead = bytes[0];
  if (lead < 0xC2 || lead > 0xF4) return {kReplacementCharacter, 1};
  const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  auto [low, high] = secondByteRange(lead);
  char32_t c = lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= available || bytes[i] < low || bytes[i] > high) return {kReplacementCharacter, i};
    c = c << 6 | (bytes[i] & 0x3Fu);
    low = 0x80;
    high = 0xBF;
  }
  return {c, length};
}

void appendUtf8(std::string& out, char32_t c) {
  char bytes[4];
  std::size_t length;
  if (c < 0x80) {
    bytes[0] = static_cast<char>(c);
    length = 1;
  } else {
    length = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    for (std::size_t i = length - 1; i > 0; --i, c >>= 6) {
      bytes[i] = static_cast<char>(0x80 | (c & 0x3F));
    }
    constexpr unsigned char kLeadBits[] = {0, 0, 0xC0, 0xE0, 0xF0};  // by length
    bytes[0] = static_cast<char>(kLeadBits[length] | c);
  }
  out.append(bytes, length);
}

bool isValidUtf8(std::string_view text) noexcept {
  for (std::size_t at = 0; at < text.size();) {
    at += asciiRun(text, at);
    if (at == text.size()) break;
    const Decoded d = decodeAt(text, at);
    if (!wellFormed(text, at, d)) return false;
    at += d.length;
  }
  return true;
}

void appendValidUtf8(std::string& out, std::string_view text) {
  std::size_t copied = 0;  // the bytes before it are in 'out'
  for (std::size_t at = 0; at < text.size();) {
    at += asciiRun(text, at);
    if (at == text.size()) break;
    const Decoded d = decodeAt(text, at);
    if (!wellFormed(text, at, d)) {
      out.append(text.substr(copied, at - copied));
      out.append("\xEF\xBF\xBD");
      copied = at + d.length;
    }
    at += d.length;
  }
  out.append(text.substr(copied));
}

}  // namespace sdkcore::unicode
