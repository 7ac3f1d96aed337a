#include "text/unicode_text.hpp"

#include <cstdint>
#include <cstring>

#include "unicode/utf8.hpp"

namespace sdkcore {
namespace {

// Counts the characters of ASCII text: one per byte, less one per CR LF.
std::int64_t asciiCharacterCount(std::string_view text) noexcept {
  auto count = static_cast<std::int64_t>(text.size());
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    --count;
  }
  return count;
}

// Eight bytes of 'text' from 'at' as one word, in memory order.
std::uint64_t wordAt(std::string_view text, std::size_t at) noexcept {
  std::uint64_t word;
  std::memcpy(&word, text.data() + at, sizeof word);
  return word;
}

constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// True when some byte of 'word' is at least 0x80, or below 'limit' (at most 0x80).
bool hasHighOrBelow(std::uint64_t word, std::uint64_t limit) noexcept {
  return ((word | (word - kEachByte * limit)) & kHighBits) != 0;
}

}  // namespace

std::string toValidUtf8(std::string_view utf8) {
  // Reserved at the size of a well-formed text, the common case, so the copy is made once.
  std::string out;
  out.reserve(utf8.size());
  unicode::appendValidUtf8(out, utf8);
  return out;
}

bool isAscii(std::string_view text) noexcept {
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    if ((wordAt(text, at) & kHighBits) != 0) return false;
  }
  for (; at < text.size(); ++at) {
    if (static_cast<unsigned char>(text[at]) >= 0x80) return false;
  }
  return true;
}

bool containsLineTerminator(std::string_view utf8) noexcept {
  // One pass over the bytes. LF, VT, FF and CR are single bytes; U+0085 is C2 85 and U+2028 and
  // U+2029 are E2 80 A8 and E2 80 A9. A lead byte never occurs inside another sequence, so this
  // finds exactly the characters that the UTF-8 reader decodes, even in ill-formed text. Runs of eight bytes
  // that are all ASCII above CR are skipped a word at a time.
  std::size_t start = 0;
  while (start + 8 <= utf8.size() && !hasHighOrBelow(wordAt(utf8, start), '\r' + 1)) start += 8;
  for (std::size_t i = start; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte >= '\n' && byte <= '\r') return true;
    if (byte < 0xC2) continue;
    const std::string_view rest = utf8.substr(i);
    if (rest.starts_with("\xC2\x85") || rest.starts_with("\xE2\x80\xA8") ||
        rest.starts_with("\xE2\x80\xA9")) {
      return true;
    }
  }
  return false;
}

std::vector<std::size_t> characterBoundaries(std::string_view text) {
  std::vector<std::size_t> boundaries;
  forEachCharacterBoundary(text, [&boundaries](std::size_t at) { boundaries.push_back(at); });
  return boundaries;
}

std::int64_t characterCount(std::string_view utf8) {
  if (isAscii(utf8)) return asciiCharacterCount(utf8);
  std::int64_t count = 0;
  unicode::GraphemeBreaker breaker(utf8);
  while (breaker.next() != std::string_view::npos) ++count;
  return count;
}

std::vector<std::string> splitCharacters(std::string_view utf8) {
  std::vector<std::string> characters;
  std::size_t start = 0;
  unicode::GraphemeBreaker breaker(utf8);
  for (std::size_t end = breaker.next(); end != std::string_view::npos; end = breaker.next()) {
    characters.push_back(toValidUtf8(utf8.substr(start, end - start)));
    start = end;
  }
  return characters;
}

}  // namespace sdkcore
