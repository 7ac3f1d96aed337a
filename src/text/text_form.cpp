#include "text/text_form.hpp"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>


#include "sdkcore/string_extensions.hpp"
#include "unicode/utf8.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sdkcore {
namespace {

// Code points that are escaped as \u{HEX}: general category Cc (C0, DEL, C1) and the two
// Unicode line-breaking separators, so that a rendered text never spans lines.
bool needsHexEscape(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// Room for the longest escape, "\\u{10FFFF}".
using EscapeBuffer = std::array<char, 12>;

// The escape of 'c': a fixed text for the six with a short form, else \u{HEX} with upper-case
// digits, at least two of them, written into 'buffer'.
std::string_view escapeOf(char32_t c, EscapeBuffer& buffer) {
  switch (c) {
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    case '\0':
      return "\\0";
    default:
      break;
  }
  std::array<char, 8> digits{};
  auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(),
                                 static_cast<std::uint32_t>(c), 16);
  (void)ec;  // eight characters hold any code point
  char* out = buffer.data();
  for (const char ch : std::string_view("\\u{")) *out++ = ch;
  if (end - digits.data() < 2) *out++ = '0';
  for (const char* p = digits.data(); p != end; ++p) {
    *out++ = (*p >= 'a' && *p <= 'f') ? static_cast<char>(*p - 'a' + 'A') : *p;
  }
  *out++ = '}';
  return {buffer.data(), static_cast<std::size_t>(out - buffer.data())};
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

// Where the run of plain bytes that starts at 'from' ends. Log texts are mostly long runs of
// printable ASCII (a PEM key, say); with SSE2 (every x86-64 processor) the run is skipped 16
// bytes at a time, as no standard or library function finds the first byte outside a set.
std::int64_t plainRunEnd(const std::uint8_t* bytes, std::int64_t from, std::int64_t length,
                         bool escapeQuotes) {
  std::int64_t i = from;
#if defined(__SSE2__)
  // Bytes compared as signed: those below 0x20 and those from 0x80 on are all less than 0x20.
  const __m128i space = _mm_set1_epi8(0x20);
  const __m128i del = _mm_set1_epi8(0x7F);
  const __m128i quote = _mm_set1_epi8(escapeQuotes ? '"' : 0x7F);
  const __m128i backslash = _mm_set1_epi8(escapeQuotes ? '\\' : 0x7F);
  for (; i + 16 <= length; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    const __m128i special =
        _mm_or_si128(_mm_or_si128(_mm_cmplt_epi8(v, space), _mm_cmpeq_epi8(v, del)),
                     _mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, backslash)));
    if (const int mask = _mm_movemask_epi8(special); mask != 0)
      return i + std::countr_zero(static_cast<unsigned>(mask));
  }
#endif
  const std::array<bool, 256>& plain = escapeQuotes ? kPlainQuoted : kPlainUnquoted;
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
      const unicode::Decoded decoded = unicode::decodeAt(text, static_cast<std::size_t>(i));
      i += static_cast<std::int64_t>(decoded.length);
      const char32_t c = decoded.codePoint;
      const bool quoteLike = escapeQuotes && (c == '"' || c == '\\');
      if (quoteLike || needsHexEscape(c)) {
        EscapeBuffer buffer;
        emit(escapeOf(c, buffer));
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

namespace {

// The last public text quoted on this thread, and its quoted form. Texts up to 16 KiB only, so
// that a huge text is not kept alive.
class QuotedPublicText {
 public:
  static constexpr std::size_t kMaxRemembered = 16 * 1024;

  // The quoted form of 'text' (of at most kMaxRemembered bytes).
  const std::string& of(std::string_view text) {
    if (!valid_ || text != text_) {
      valid_ = false;
      text_.assign(text);
      quoted_.clear();
      quoted_.reserve(debugQuotedSize(text));
      appendDebugQuoted(quoted_, text);
      valid_ = true;
    }
    return quoted_;
  }

  static QuotedPublicText& forThisThread() {
    thread_local QuotedPublicText remembered;
    return remembered;
  }

 private:
  bool valid_ = false;
  std::string text_;
  std::string quoted_;
};

}  // namespace

std::size_t debugQuotedPublicSize(std::string_view text) {
  if (text.size() > QuotedPublicText::kMaxRemembered) return debugQuotedSize(text);
  return QuotedPublicText::forThisThread().of(text).size();
}

void appendDebugQuotedPublic(std::string& out, std::string_view text) {
  if (text.size() > QuotedPublicText::kMaxRemembered) return appendDebugQuoted(out, text);
  out += QuotedPublicText::forThisThread().of(text);
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
