#include "sdkcore/string_extensions.hpp"

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/wiped_text.hpp"
#include "text/character_cut.hpp"
#include "text/unicode_text.hpp"
#include "unicode/utf8.hpp"

namespace sdkcore {
namespace {

void requireNonNegative(std::int64_t count, const char* operation) {
  if (count < 0) {
    throw std::invalid_argument(std::string(operation) + ": count must not be negative, got " +
                                std::to_string(count));
  }
}

// ASCII text without CR has one byte per character, so it can be cut by bytes.
bool oneBytePerCharacter(std::string_view text) noexcept {
  return isAscii(text) && text.find('\r') == std::string_view::npos;
}

// The first 'count' characters of 'text', or the last ones with 'fromEnd', as valid UTF-8.
std::string characterRange(std::string_view text, bool fromEnd, std::int64_t count) {
  const std::vector<std::size_t> boundaries = characterBoundaries(text);
  const auto characters = static_cast<std::int64_t>(boundaries.size()) - 1;
  if (count >= characters) return toValidUtf8(text);
  const std::size_t cut = boundaries[static_cast<std::size_t>(fromEnd ? characters - count : count)];
  return toValidUtf8(fromEnd ? text.substr(cut) : text.substr(0, cut));
}

std::string limitTo(std::string text, std::optional<std::int64_t> maxLength) {
  if (!maxLength) return text;
  return take(text, *maxLength);
}

std::optional<unsigned> hexDigitValue(char c) noexcept {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  return std::nullopt;
}

// Reads hexadecimal digits from 'at' on, after an optional "0x"/"0X". Like the platform's
// scanner, a value that overflows 64 bits saturates at the largest value.
std::uint64_t scanHex(std::string_view text, std::size_t at) noexcept {
  if (text.size() >= at + 2 && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
      text.size() > at + 2 && hexDigitValue(text[at + 2])) {
    at += 2;
  }
  std::uint64_t value = 0;
  for (; at < text.size(); ++at) {
    const std::optional<unsigned> digit = hexDigitValue(text[at]);
    if (!digit) break;
    if (value > (std::numeric_limits<std::uint64_t>::max() >> 4)) {
      value = std::numeric_limits<std::uint64_t>::max();
    } else {
      value = (value << 4) | *digit;
    }
  }
  return value;
}

// Skips leading white space (by code point, on the UTF-8 bytes) and returns the byte offset of
// the first other character.
std::size_t skipWhiteSpace(std::string_view text) noexcept {
  std::size_t at = 0;
  while (at < text.size()) {
    const unicode::Decoded decoded = unicode::decodeAt(text, at);
    // U+FFFD is no white space, so an ill-formed sequence stops the scan as well.
    if (!isTrimmedWhiteSpace(decoded.codePoint)) break;
    at += decoded.length;
  }
  return at;
}

// "#RGB" (any four characters) becomes "#RRGGBB"; the first character is dropped.
std::string expandShortColor(std::string_view text) {
  const std::vector<std::string> characters = splitCharacters(text);
  std::string expanded = "#";
  for (std::size_t i = 1; i < characters.size(); ++i) expanded += characters[i] + characters[i];
  return expanded;
}

}  // namespace

std::string digitsOnly(std::string_view text, std::optional<std::int64_t> maxLength) {
  if (maxLength) requireNonNegative(*maxLength, "digitsOnly");
  static const Regex nonDigits = toRegex("[^\\d.]");
  return limitTo(nonDigits.replaceAll(text, ""), maxLength);
}

std::string noSpaces(std::string_view text, std::optional<std::int64_t> maxLength) {
  if (maxLength) requireNonNegative(*maxLength, "noSpaces");
  static const Regex spaces = toRegex("[\\s.]");
  return limitTo(spaces.replaceAll(text, ""), maxLength);
}

std::string_view characterCut(std::string_view text, std::int64_t count, bool fromEnd,
                              std::string& storage) {
  requireNonNegative(count, fromEnd ? "takeLast" : "take");
  if (oneBytePerCharacter(text)) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, text.size()));
    return fromEnd ? text.substr(text.size() - n) : text.substr(0, n);
  }
  storage = characterRange(text, fromEnd, count);
  return storage;
}

std::string take(std::string_view text, std::int64_t count) {
  std::string storage;
  const std::string_view cut = characterCut(text, count, false, storage);
  return cut.data() == storage.data() ? std::move(storage) : std::string(cut);
}

std::string takeLast(std::string_view text, std::int64_t count) {
  std::string storage;
  const std::string_view cut = characterCut(text, count, true, storage);
  return cut.data() == storage.data() ? std::move(storage) : std::string(cut);
}

std::optional<std::int64_t> toIntOrNil(std::string_view text) {
  std::size_t at = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) at = 1;
  if (at == text.size()) return std::nullopt;
  // The magnitude may reach 2^63 for a negative value, so accumulate unsigned.
  const std::uint64_t limit =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
  std::uint64_t magnitude = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (magnitude > (limit - digit) / 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
  }
  if (!negative) return static_cast<std::int64_t>(magnitude);
  if (magnitude == limit) return std::numeric_limits<std::int64_t>::min();
  return -static_cast<std::int64_t>(magnitude);
}

Color parseColor(std::string_view text) {
  const std::string source = characterCount(text) == 4 ? expandShortColor(text) : std::string(text);
  std::size_t at = skipWhiteSpace(source);
  if (at < source.size() && source[at] == '#') ++at;
  const auto rgb = static_cast<std::uint32_t>(scanHex(source, at) & 0xFFFFFFFFu);
  const auto component = [rgb](int shift) {
    return static_cast<double>((rgb >> shift) & 0xFFu) / 255.0;
  };
  return Color{component(16), component(8), component(0), 1.0};
}

}  // namespace sdkcore
