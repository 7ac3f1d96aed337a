#pragma once

// The library's text model. Texts cross the public interface as UTF-8; a character is an
// extended grapheme cluster (unicode/grapheme.hpp), and offsets are byte offsets into the UTF-8.
//
// Invalid UTF-8 is read the way unicode/utf8.hpp reads it: every maximal ill-formed subsequence
// becomes one U+FFFD REPLACEMENT CHARACTER. So invalid input never crashes or throws here; it
// counts as one character per replaced sequence, matches only patterns that accept U+FFFD (never
// an ASCII-only class such as [0-9]) and comes back as valid UTF-8 from every helper that returns
// text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "unicode/grapheme.hpp"
#include "unicode/properties.hpp"

namespace sdkcore {

// 'utf8' as well-formed UTF-8: each maximal ill-formed subsequence becomes U+FFFD.
std::string toValidUtf8(std::string_view utf8);

// True when every byte is ASCII; such text is valid UTF-8 and each character is one byte, except
// that CR LF forms a single character.
bool isAscii(std::string_view text) noexcept;

// The length in bytes of the character that starts at byte 'at' (< text.size()) of the ASCII
// text 'text': 2 for CR LF, which the grapheme rules keep together, and 1 otherwise.
inline std::size_t asciiCharacterLength(std::string_view text, std::size_t at) noexcept {
  return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

// White space as the library trims it and the text scanner skips it: general category Z (NBSP
// included) plus tab, LF, VT, FF, CR and NEL, the set that patterns' \s matches. Not the Java
// notion, which leaves out NBSP and takes in the separators U+001C..U+001F. U+FFFD, what an
// ill-formed sequence reads as, is not white space.
inline bool isTrimmedWhiteSpace(char32_t c) noexcept {
  if (c == 0x09 || (c >= 0x0A && c <= 0x0D) || c == 0x85) return true;
  using unicode::GeneralCategory;
  const GeneralCategory category = unicode::generalCategory(c);
  return category == GeneralCategory::Zs || category == GeneralCategory::Zl ||
         category == GeneralCategory::Zp;
}

// True when the UTF-8 text holds a line terminator anywhere: LF, VT, FF, CR, U+0085, U+2028 or
// U+2029 (the characters before which a pattern's `$` may match).
bool containsLineTerminator(std::string_view utf8) noexcept;

// Calls 'visit' with the byte offset of each character boundary of the UTF-8 'text' in order,
// from 0 to text.size() inclusive (so a text of n characters gives n + 1 calls).
template <typename Visit>
void forEachCharacterBoundary(std::string_view text, Visit&& visit);

// Returns the offsets that forEachCharacterBoundary() visits.
std::vector<std::size_t> characterBoundaries(std::string_view text);

// The number of characters (extended grapheme clusters) in the UTF-8 text. Thread-safe.
std::int64_t characterCount(std::string_view utf8);

// Splits the UTF-8 text into its characters, each as UTF-8.
std::vector<std::string> splitCharacters(std::string_view utf8);

template <typename Visit>
void forEachCharacterBoundary(std::string_view text, Visit&& visit) {
  visit(std::size_t{0});
  unicode::GraphemeBreaker breaker(text);
  for (std::size_t at = breaker.next(); at != std::string_view::npos; at = breaker.next()) {
    visit(at);
  }
}

}  // namespace sdkcore
