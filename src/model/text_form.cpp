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

// The escape of one code point, short enough to live on the stack.
class Escape {
 public:
  explicit Escape(UChar32 c) {
    switch (c) {
      case '"':
        put("\\\"");
        return;
      case '\\':
        put("\\\\");
        return;
      case '\n':
        put("\\n");
        return;
      case '\r':
        put("\\r");
        return;
      case '\t':
        put("\\t");
        return;
      case '\0':
        put("\\0");
        return;
      default:
        putHex(c);
        return;
    }
  }

  std::string_view text() const { return {chars_.data(), size_}; }

 private:
  void put(std::string_view part) {
    for (const char ch : part) chars_[size_++] = ch;
  }

  // \u{HEX}, upper-case digits, at least two of them.
  void putHex(UChar32 c) {
    std::array<char, 8> digits{};
    auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(),
                                   static_cast<std::uint32_t>(c), 16);
    (void)ec;  // eight characters hold any code point
    put("\\u{");
    if (end - digits.data() < 2) put("0");
    for (const char* p = digits.data(); p != end; ++p) {
      chars_[size_++] = (*p >= 'a' && *p <= 'f') ? static_cast<char>(*p - 'a' + 'A') : *p;
    }
    put("}");
  }

  std::array<char, 16> chars_{};
  std::size_t size_ = 0;
};

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

// Word-at-a-time tests on 8 bytes: a non-zero result when any byte is below 'n' (n <= 128),
// above 'n' (n <= 127), or equal to 'c'. Each is exact as a yes-or-no answer for the whole word.
constexpr std::uint64_t kOnes = ~std::uint64_t{0} / 255;
constexpr std::uint64_t kHighs = kOnes * 0x80;
constexpr std::uint64_t below(std::uint64_t w, std::uint64_t n) {
  return (w - kOnes * n) & ~w & kHighs;
}
constexpr std::uint64_t above(std::uint64_t w, std::uint64_t n) {
  return ((w + kOnes * (127 - n)) | w) & kHighs;
}
constexpr std::uint64_t equal(std::uint64_t w, std::uint8_t c) {
  const std::uint64_t x = w ^ (kOnes * c);
  return (x - kOnes) & ~x & kHighs;
}

// Whether any of the 8 bytes in 'w' is not plain.
template <bool kEscapeQuotes>
constexpr bool hasSpecial(std::uint64_t w) {
  std::uint64_t special = below(w, 0x20) | above(w, 0x7E);
  if constexpr (kEscapeQuotes) special |= equal(w, '"') | equal(w, '\\');
  return special != 0;
}

// Where the run of plain bytes that starts at 'from' ends. Log texts are mostly long runs of
// printable ASCII (a PEM key, say), so the run is first skipped 8 bytes at a time.
std::int64_t plainRunEnd(const std::uint8_t* bytes, std::int64_t from, std::int64_t length,
                         bool escapeQuotes) {
  const std::array<bool, 256>& plain = escapeQuotes ? kPlainQuoted : kPlainUnquoted;
  std::int64_t i = from;
  for (; i + 8 <= length; i += 8) {
    std::uint64_t w = 0;
    std::memcpy(&w, bytes + i, sizeof w);
    if (escapeQuotes ? hasSpecial<true>(w) : hasSpecial<false>(w)) break;
  }
  while (i < length && plain[bytes[i]]) ++i;
  return i;
}

// Walks 'text' as its escaped form: hands 'emit' the runs copied as they are and the escapes, in
// order. Control characters are escaped, and double quotes and backslashes too when
// 'escapeQuotes' is set; ordinary characters and ill-formed bytes are copied as they are.
template <typename Emit>
void forEachEscapedPiece(std::string_view text, bool escapeQuotes, Emit&& emit) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int64_t>(text.size());
  std::int64_t i = 0;
  while (i < length) {
    const std::int64_t start = i;
    i = plainRunEnd(bytes, i, length, escapeQuotes);
    if (i == start) {
      UChar32 c = 0;
      U8_NEXT(bytes, i, length, c);
      const bool quoteLike = escapeQuotes && (c == '"' || c == '\\');
      if (c >= 0 && (quoteLike || needsHexEscape(c))) {
        emit(Escape(c).text());
        continue;
      }
    }
    emit(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
  }
}

void appendEscapedText(std::string& out, std::string_view text, bool escapeQuotes) {
  forEachEscapedPiece(text, escapeQuotes, [&out](std::string_view piece) { out += piece; });
}

std::size_t escapedSize(std::string_view text, bool escapeQuotes) {
  std::size_t size = 0;
  forEachEscapedPiece(text, escapeQuotes,
                      [&size](std::string_view piece) { size += piece.size(); });
  return size;
}

constexpr std::string_view kOptionalOpen = "Optional(";
constexpr std::string_view kNil = "nil";

}  // namespace

std::size_t debugQuotedSize(std::string_view text) {
  return escapedSize(text, /*escapeQuotes=*/true) + 2;
}

void appendDebugQuoted(std::string& out, std::string_view text) {
  out += '"';
  appendEscapedText(out, text, /*escapeQuotes=*/true);
  out += '"';
}

std::string debugQuoted(std::string_view text) {
  std::string out;
  out.reserve(debugQuotedSize(text));
  appendDebugQuoted(out, text);
  return out;
}

std::string escapeControlCharacters(std::string_view text) {
  std::string out;
  out.reserve(escapedSize(text, /*escapeQuotes=*/false));
  appendEscapedText(out, text, /*escapeQuotes=*/false);
  return out;
}

std::size_t debugOptionalSize(std::optional<std::string_view> text) {
  return text ? kOptionalOpen.size() + debugQuotedSize(*text) + 1 : kNil.size();
}

void appendDebugOptional(std::string& out, std::optional<std::string_view> text) {
  if (!text) {
    out += kNil;
    return;
  }
  out += kOptionalOpen;
  appendDebugQuoted(out, *text);
  out += ')';
}

std::string debugOptional(std::optional<std::string_view> text) {
  std::string out;
  out.reserve(debugOptionalSize(text));
  appendDebugOptional(out, text);
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
