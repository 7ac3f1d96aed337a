#include "model/text_form.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <unicode/utf8.h>

namespace sdkcore {
namespace {

// Code points that are escaped as \u{HEX}: general category Cc (C0, DEL, C1) and the two
// Unicode line-breaking separators, so that a rendered text never spans lines.
bool needsHexEscape(UChar32 c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

void appendHexEscape(std::string& out, UChar32 c) {
  std::array<char, 8> digits{};
  auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(),
                                 static_cast<std::uint32_t>(c), 16);
  (void)ec;  // eight characters hold any code point
  out += "\\u{";
  if (end - digits.data() < 2) out += '0';
  for (const char* p = digits.data(); p != end; ++p) {
    out += (*p >= 'a' && *p <= 'f') ? static_cast<char>(*p - 'a' + 'A') : *p;
  }
  out += '}';
}

void appendEscaped(std::string& out, UChar32 c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    case '\0':
      out += "\\0";
      return;
    default:
      appendHexEscape(out, c);
      return;
  }
}

// For each byte: true when it is printable ASCII that needs no escape, a character of its own.
// Double quotes and backslashes are plain unless quotes are escaped.
constexpr std::array<bool, 256> plainAsciiTable(bool escapeQuotes) {
  std::array<bool, 256> table{};
  for (int byte = 0x20; byte < 0x7F; ++byte) table[byte] = true;
  if (escapeQuotes) table['"'] = table['\\'] = false;
  return table;
}

constexpr std::array<bool, 256> kPlainQuoted = plainAsciiTable(true);
constexpr std::array<bool, 256> kPlainUnquoted = plainAsciiTable(false);

// Word-at-a-time tests on 8 bytes: whether any byte is below 'n' (n <= 128), above 'n'
// (n <= 127), or equal to 'c'. Each is exact as a yes-or-no answer for the whole word.
constexpr std::uint64_t kOnes = ~std::uint64_t{0} / 255;
constexpr std::uint64_t kHighs = kOnes * 0x80;
constexpr bool anyBelow(std::uint64_t w, std::uint64_t n) {
  return ((w - kOnes * n) & ~w & kHighs) != 0;
}
constexpr bool anyAbove(std::uint64_t w, std::uint64_t n) {
  return (((w + kOnes * (127 - n)) | w) & kHighs) != 0;
}
constexpr bool anyEqual(std::uint64_t w, std::uint8_t c) {
  const std::uint64_t x = w ^ (kOnes * c);
  return ((x - kOnes) & ~x & kHighs) != 0;
}

// Where the run of plain bytes that starts at 'from' ends. Log texts are mostly long runs of
// printable ASCII (a PEM key, say), so the run is first skipped 8 bytes at a time.
std::int32_t plainRunEnd(const std::uint8_t* bytes, std::int32_t from, std::int32_t length,
                         bool escapeQuotes) {
  const std::array<bool, 256>& plain = escapeQuotes ? kPlainQuoted : kPlainUnquoted;
  std::int32_t i = from;
  for (; i + 8 <= length; i += 8) {
    std::uint64_t w = 0;
    std::memcpy(&w, bytes + i, sizeof w);
    if (anyBelow(w, 0x20) || anyAbove(w, 0x7E) ||
        (escapeQuotes && (anyEqual(w, '"') || anyEqual(w, '\\')))) {
      break;
    }
  }
  while (i < length && plain[bytes[i]]) ++i;
  return i;
}

// Appends 'text' with control characters escaped, and with double quotes and backslashes too
// when 'escapeQuotes' is set. Ordinary characters and ill-formed bytes are copied as they are,
// runs of plain ASCII in one piece.
void appendEscapedText(std::string& out, std::string_view text, bool escapeQuotes) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(text.size());
  std::int32_t i = 0;
  while (i < length) {
    const std::int32_t start = i;
    i = plainRunEnd(bytes, i, length, escapeQuotes);
    if (i > start) {
      out.append(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
      continue;
    }
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    const bool quoteLike = escapeQuotes && (c == '"' || c == '\\');
    if (c >= 0 && (quoteLike || needsHexEscape(c))) {
      appendEscaped(out, c);
    } else {
      out.append(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
    }
  }
}

// Room for 'text' quoted with a few escapes, so that rendering it rarely grows the string.
std::size_t quotedCapacity(std::string_view text) { return text.size() + text.size() / 16 + 8; }

void appendQuoted(std::string& out, std::string_view text) {
  out += '"';
  appendEscapedText(out, text, /*escapeQuotes=*/true);
  out += '"';
}

}  // namespace

std::string debugQuoted(std::string_view text) {
  std::string out;
  out.reserve(quotedCapacity(text));
  appendQuoted(out, text);
  return out;
}

std::string escapeControlCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendEscapedText(out, text, /*escapeQuotes=*/false);
  return out;
}

std::string debugOptional(std::optional<std::string_view> text) {
  if (!text) return "nil";
  constexpr std::string_view kOpen = "Optional(";
  std::string out;
  out.reserve(kOpen.size() + quotedCapacity(*text) + 1);
  out += kOpen;
  appendQuoted(out, *text);
  out += ')';
  return out;
}

std::string debugDouble(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  const double magnitude = std::fabs(value);
  const bool positional = magnitude == 0.0 || (magnitude >= 1e-4 && magnitude < 1e16);
  // Positional notation of a double below 1e16 needs at most 17 digits before and 4 + 17
  // after the point; the buffer leaves ample room.
  std::array<char, 64> buffer{};
  auto [end, ec] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                    positional ? std::chars_format::fixed : std::chars_format::scientific);
  (void)ec;
  std::string out(buffer.data(), end);
  if (positional && out.find('.') == std::string::npos) out += ".0";
  return out;
}

}  // namespace sdkcore
