#pragma once

// The library's text model. Texts cross the public interface as UTF-8; a character is an
// extended grapheme cluster as ICU's character break iterator finds it.
//
// Invalid UTF-8 is read the way ICU's converters read it: every maximal ill-formed subsequence
// becomes one U+FFFD REPLACEMENT CHARACTER. So invalid input never crashes or throws here; it
// counts as one character per replaced sequence, matches only patterns that accept U+FFFD (never
// an ASCII-only class such as [0-9]) and comes back as valid UTF-8 from every helper that returns
// text.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <unicode/unistr.h>

namespace sdkcore {

// A UTF-16 text that overwrites its buffer when destroyed, for texts that may hold card data.
// Not copyable: a copy would share the buffer, which only one owner can wipe.
// Thrown where the library needs an ICU object whose data is missing: the program was linked
// without ICU's data or with a data package that lacks the item (the character break rules).
// Every such failure is also logged. Not about the text: callers answer with an error of their
// own (CODE_ICU_DATA_MISSING, SDKCORE_ICU_DATA_MISSING), never as if the text were different.
class UnicodeDataMissing : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class WipedUnicodeString : public icu::UnicodeString {
 public:
  WipedUnicodeString() = default;
  WipedUnicodeString(WipedUnicodeString&&) noexcept = default;
  WipedUnicodeString& operator=(WipedUnicodeString&&) = delete;  // moveFrom() wipes first
  WipedUnicodeString(const WipedUnicodeString&) = delete;
  WipedUnicodeString& operator=(const WipedUnicodeString&) = delete;
  ~WipedUnicodeString() override;

  // Takes over 'text', after wiping what this string held.
  void moveFrom(icu::UnicodeString&& text) noexcept;

 private:
  void wipe() noexcept;
};

// Converts UTF-8 to UTF-16 (invalid sequences become U+FFFD). Throws std::length_error for a
// text of more than 2^31 - 1 bytes, which ICU cannot hold.
WipedUnicodeString toUnicodeString(std::string_view utf8);
// Converts UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string toUtf8(const icu::UnicodeString& text);

// True when every byte is ASCII; such text is valid UTF-8 and each character is one byte, except
// that CR LF forms a single character.
bool isAscii(std::string_view text) noexcept;

// The length in bytes of the character that starts at byte 'at' (< text.size()) of the ASCII
// text 'text': 2 for CR LF, which the grapheme rules keep together, and 1 otherwise.
inline std::size_t asciiCharacterLength(std::string_view text, std::size_t at) noexcept {
  return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

// True when the UTF-8 text holds a line terminator anywhere: LF, VT, FF, CR, U+0085, U+2028 or
// U+2029 (the characters before which a pattern's `$` may match).
bool containsLineTerminator(std::string_view utf8) noexcept;

// Calls 'visit' with the UTF-16 offset of each character boundary of 'text' in order, from 0 to
// text.length() inclusive (so a text of n characters gives n + 1 calls). Uses a per-thread break
// iterator, so 'visit' must not segment text itself.
void forEachCharacterBoundary(const icu::UnicodeString& text,
                              const std::function<void(std::int32_t)>& visit);

// Returns the offsets that forEachCharacterBoundary() visits.
std::vector<std::int32_t> characterBoundaries(const icu::UnicodeString& text);

// The number of characters (extended grapheme clusters) in the UTF-8 text. Thread-safe.
std::int64_t characterCount(std::string_view utf8);

// Splits the UTF-8 text into its characters, each as UTF-8.
std::vector<std::string> splitCharacters(std::string_view utf8);

}  // namespace sdkcore
